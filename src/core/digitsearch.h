// Finding a string of digits in a shown result of any length, off the
// window's thread: the search looks at its Progress token between chunks,
// so Cancel stops it, and reports how far it has come.
#pragma once

#include "engine/progress.h"
#include "numbershape.h"

#include <optional>
#include <string_view>

namespace longhand {

// Characters searched between two looks at the Progress token.
inline constexpr Count kSearchChunk = Count{1} << 22;

// The first place at or after `from` where `pattern` stands in `text`,
// going on from the start when the end is reached (the wrap ends where it
// began). Nothing when it is not there, the pattern is empty, or the search
// was cancelled. Linear in the text's length, whatever the pattern.
std::optional<Count> findDigits(std::string_view text, std::string_view pattern, Count from,
                                Progress& progress);

} // namespace longhand
