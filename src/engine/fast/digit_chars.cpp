#include "digit_chars.h"

#include "parallel.h"

#include <vector>

namespace longhand::fast {

std::size_t firstNonDigit(std::string_view text) {
    const std::size_t n = text.size();
    if (n < kParallelScanBytes || par::threads() < 2) {
        const std::size_t at = digitRun(text.data(), n);
        return at == n ? std::string_view::npos : at;
    }
    // Each piece notes its own first; the earliest piece that has one
    // holds the text's.
    const par::Pieces pieces = par::piecesOf(n, kParallelScanBytes / 4);
    std::vector<std::size_t> first(pieces.count, n);
    par::forEach(pieces.count, [&](std::size_t k) {
        const std::size_t from = pieces.edge(k), to = pieces.edge(k + 1);
        const std::size_t at = digitRun(text.data() + from, to - from);
        if (at < to - from) first[k] = from + at;
    });
    for (const std::size_t at : first)
        if (at < n) return at;
    return std::string_view::npos;
}

} // namespace longhand::fast
