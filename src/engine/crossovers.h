// Where the engine's operations leave their digit-by-digit paths for the
// fast arithmetic of engine/fast, all in one place.
//
// Below these sizes the operations run their digit-by-digit algorithms
// (digitSum, schoolbookProduct, divideLongerByDigits,
// powerByRepeatedMultiplication, batchedProduct); from them on they hand the
// digit strings to the fast layer and rebuild exactly the same text from
// its result. The rule everywhere is `size >= threshold` selects the fast
// path.
//
// Measured with the EngineCross* benchmarks of bench/engine_bench (Release
// build) on the 2-core development machine, 2026-12-06: at each value the
// fast path already costs less than the digit-by-digit one does at half the
// size (for example a 48-digit division 0.3 us fast against 1.4 us for 32
// digits digit by digit; 7^e of 32 digits 0.3 us against 1.6 us for 16).
//   build/bench/bin/engine_bench --benchmark_filter=EngineCross
//
// LONGHAND_SMALL_THRESHOLDS (CMake option of the same name) makes every
// crossover tiny, so that the fast paths run, and are tested, on small
// operands.
#pragma once

#include <cstddef>

namespace longhand {

#ifndef LONGHAND_SMALL_THRESHOLDS

// multiply: the shorter operand's digits.
inline constexpr std::size_t kFastMultiplyDigits = 32;
// divide: quotient digits plus divisor digits.
inline constexpr std::size_t kFastDivisionDigits = 32;
// power: digits of the power (the base's digits times the exponent).
inline constexpr std::size_t kFastPowerDigits = 16;
// rangeProduct and combinations: factors in the run (in r! for C(n, r)).
inline constexpr std::size_t kFastProductFactors = 16;
// add and subtract: digits of the longer aligned operand.
inline constexpr std::size_t kFastAddDigits = 32;

#else

inline constexpr std::size_t kFastMultiplyDigits = 1;
inline constexpr std::size_t kFastDivisionDigits = 2;
inline constexpr std::size_t kFastPowerDigits = 2;
inline constexpr std::size_t kFastProductFactors = 2;
inline constexpr std::size_t kFastAddDigits = 1;

#endif

} // namespace longhand
