// How long a result will be, known before the calculation starts, and the
// guard that refuses a calculation whose result would not fit in memory.
//
// Lengths are kept as base-10 logarithms, so that a result of 10^400 digits
// (400! of a 400-digit n) is as easy to count as one of 12 digits. The
// estimates are upper bounds within a few per cent: sums and products from
// the operand lengths, n! from log10 Gamma(n+1), a^b from b log10|a|, and
// permutations, combinations and runs of factors from the same Gamma sums.
#pragma once

#include "operations.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace longhand {

struct LengthEstimate {
    // log10 of the result's length in characters.
    double result = kNoLength;
    // log10 of the most digits held at once on the way (the result, or a
    // larger intermediate such as n!/(n-r)! on the way to C(n, r)).
    double work = kNoLength;
};

// The main window's operations on the texts of the two operand boxes.
LengthEstimate estimateCalculation(Operation operation, std::string_view a, std::string_view b);

// n! of a whole-number text; anything else has no length.
LengthEstimate estimateFactorial(std::string_view n);

// base ^ exponent (a whole exponent; anything else has no length).
LengthEstimate estimatePower(std::string_view base, std::string_view exponent);

// Permutations and combinations of whole-number texts, with or without
// repetition as the repetition digit says (combinatorics.h).
LengthEstimate estimatePermutation(std::string_view n, std::string_view r, int repetition);
LengthEstimate estimateCombination(std::string_view n, std::string_view r, int repetition);

// m (m+1) ... n of whole-number texts, m <= n.
LengthEstimate estimateRangeProduct(std::string_view m, std::string_view n);

// Bytes a calculation and the windows showing its result hold per digit of
// the largest number on the way: the number itself, the operands of its last
// product in machine words, the transform buffers of a fast product, and the
// result box's copy.
inline constexpr double kBytesPerDigit = 16;

// The memory the machine has free for a new calculation (MemAvailable of
// /proc/meminfo), or nothing when it cannot be told.
std::optional<std::uint64_t> availableMemory();

// The refusal of a calculation whose work, as `estimate` has it, needs more
// than `freeBytes`: ResultTooLarge with the result's length, or
// WorkTooLarge with the length of the numbers on the way when the result
// itself would fit. Nothing when it fits.
std::optional<Refusal> memoryRefusal(const LengthEstimate& estimate, std::uint64_t freeBytes);

} // namespace longhand
