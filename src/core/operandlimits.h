// The limits of operands read from files and streams, in one place.
#pragma once

#include <cstddef>
#include <cstdint>

namespace longhand {

// An operand read from a file or a stream may take at most this share of
// the free memory (1 / kOperandMemoryShare): two operands, the copies the
// engine makes of them and the result must all fit.
inline constexpr std::uint64_t kOperandMemoryShare = 4;

// The operand limit when the free memory cannot be told.
inline constexpr std::uint64_t kOperandBytesUnknownMemory = std::uint64_t{1} << 30;

// Operands are read in chunks of this many bytes.
inline constexpr std::size_t kReadChunkBytes = std::size_t{1} << 16;

// A message shows at most this many characters of an operand typed on the
// command line; a longer one is cut and marked with "...".
inline constexpr std::size_t kShownOperandChars = 40;

} // namespace longhand
