#include "commands.h"

#include <algorithm>

namespace longhand::cli {

namespace {

// A function-local table: registrars in other files run before main, in an
// order the language leaves open, and this is built on first use.
std::vector<Command>& table() {
    static std::vector<Command> all;
    return all;
}

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

} // namespace longhand::cli
