#include "commands.h"

#include <algorithm>
#include <numeric>

namespace longhand::cli {

namespace {

// A function-local table: registrars in other files run before main, in an
// order the language leaves open, and this is built on first use.
std::vector<Command>& table() {
    static std::vector<Command> all;
    return all;
}

// Edits (insertions, deletions, changes and swaps of two neighbours) that
// turn `a` into `b`.
std::size_t editDistance(const std::string& a, const std::string& b) {
    std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
    for (std::size_t i = 0; i <= a.size(); ++i)
        d[i][0] = i;
    std::iota(d[0].begin(), d[0].end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i)
        for (std::size_t j = 1; j <= b.size(); ++j) {
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

// A word this far from every name is no misspelling of any.
constexpr std::size_t kMaxEdits = 2;

} // namespace

void registerCommand(Command command) {
    table().push_back(std::move(command));
}

std::vector<Command> commands() {
    std::vector<Command> sorted = table();
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Command& a, const Command& b) { return a.order < b.order; });
    return sorted;
}

std::string nearestCommand(const std::string& word, const std::vector<Command>& all) {
    // A word that a name begins with, or that begins with a name
    // ("factorial"), counts as one edit away.
    std::string nearest;
    std::size_t best = kMaxEdits + 1;
    for (const Command& c : all) {
        if (word.empty() || c.name.empty()) continue;
        const bool prefix = c.name.rfind(word, 0) == 0 || word.rfind(c.name, 0) == 0;
        const std::size_t edits = prefix ? 1 : editDistance(word, c.name);
        // Short names are not near a word of entirely other letters.
        if (edits < best && edits < std::max(word.size(), c.name.size())) {
            best = edits;
            nearest = c.name;
        }
    }
    return nearest;
}

} // namespace longhand::cli
