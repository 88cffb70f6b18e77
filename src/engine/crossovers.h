// Where the engine's operations leave their digit-by-digit paths for the
// fast arithmetic of engine/fast, all in one place.
//
// Below these sizes the operations run the long-hand algorithms they were
// written with (which also serve as the reference the fast paths are tested
// against); from them on they hand the digit strings to the fast layer and
// rebuild exactly the same text from its result. The values were measured
// with bench/fast_bench's Wiring* benchmarks (Release build) on the 2-core
// development machine; the rule everywhere is `size >= threshold` selects
// the fast path.
//
// LONGHAND_SMALL_THRESHOLDS (CMake option of the same name) makes every
// crossover tiny, so that the fast paths run, and are tested, on small
// operands.
#pragma once

#include <cstddef>

namespace longhand {

#ifndef LONGHAND_SMALL_THRESHOLDS

// multiplyDigits: the shorter operand's digits.
inline constexpr std::size_t kFastMultiplyDigits = 64;
// The division drivers: quotient digits plus divisor digits.
inline constexpr std::size_t kFastDivisionDigits = 48;
// raisePower: digits of the power.
inline constexpr std::size_t kFastPowerDigits = 32;
// rangeProduct: factors in the run.
inline constexpr std::size_t kFastProductFactors = 24;
// rcAdd and rcSub: digits of the longer aligned operand.
inline constexpr std::size_t kFastAddDigits = 64;

#else

inline constexpr std::size_t kFastMultiplyDigits = 1;
inline constexpr std::size_t kFastDivisionDigits = 2;
inline constexpr std::size_t kFastPowerDigits = 2;
inline constexpr std::size_t kFastProductFactors = 2;
inline constexpr std::size_t kFastAddDigits = 1;

#endif

} // namespace longhand
