#include "digitsearch.h"

#include <algorithm>
#include <functional>

namespace longhand {

std::optional<Count> findDigits(std::string_view text, std::string_view pattern, Count from,
                                Progress& progress) {
    const Count length = static_cast<Count>(text.size());
    const Count m = static_cast<Count>(pattern.size());
    if (m == 0 || m > length) return std::nullopt;
    from = std::clamp<Count>(from, 0, length);
    // Boyer-Moore with its good-suffix rule: no pattern makes it quadratic.
    const std::boyer_moore_searcher searcher(pattern.begin(), pattern.end());
    // The starts [from, length - m], then [0, from), chunk by chunk; each
    // chunk looks m - 1 characters past its starts.
    const Count total = length - m + 1;
    Count done = 0;
    auto searchStarts = [&](Count begin, Count end) -> std::optional<Count> {
        for (Count start = begin; start < end; start += kSearchChunk) {
            if (progress.cancelled()) return std::nullopt;
            const Count stop = std::min(end, start + kSearchChunk);
            const auto first = text.begin() + start;
            const auto last = text.begin() + stop + m - 1;
            const auto found = searcher(first, last).first;
            if (found != last) return static_cast<Count>(found - text.begin());
            done += stop - start;
            progress.report(static_cast<double>(done) / static_cast<double>(total));
        }
        return std::nullopt;
    };
    if (const auto at = searchStarts(std::min(from, total), total)) return at;
    if (progress.cancelled()) return std::nullopt;
    return searchStarts(0, std::min(from, total));
}

} // namespace longhand
