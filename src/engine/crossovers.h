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

// ---- Machine-number paths ----------------------------------------------
//
// Below these sizes the operations skip the digit strings' loops and work in
// a 64-bit integer or a double. Each bound is where that stays exact, so
// none can grow; each could shrink, giving up what the machine path saves.
// Measured with the EngineShort* benchmarks of bench/engine_bench (Release):
//   build/bench/bin/engine_bench --benchmark_filter=EngineShort

// add: both aligned digit strings at most this long are added as 64-bit
// integers (any such sum is below 2 * 10^14). At these sizes the sum costs
// about what the digit loop costs (70 to 85 ns of CPU either side of the
// bound, within the noise of a loaded machine).
inline constexpr std::size_t kShortAddDigits = 14;
// subtract: both aligned digit strings at most this long are subtracted as
// 64-bit integers (any such difference is below 10^15); as for add, about
// the digit loop's cost.
inline constexpr std::size_t kShortSubDigits = 15;
// multiply: both digit strings at most this long are multiplied as 64-bit
// integers (the product stays below 10^18). Here the machine path is worth
// having: 8- and 9-digit products took 82 to 88 ns of CPU by the schoolbook
// cells and take 35 to 40 ns this way (EngineShortMultiply, 2-core machine
// under load 9).
inline constexpr std::size_t kShortMultiplyDigits = 9;
// divide, digit by digit: a quotient digit is estimated from at most this
// many leading digits of the remainder (one fewer of the divisor when the
// remainder is a digit longer); values of 15 digits are exact in a double,
// 16 may not be. Fewer digits would make more first guesses one too high,
// each costing a correction step.
//   build/bench/bin/engine_bench --benchmark_filter='EngineCrossDivide/.*/1'
inline constexpr std::size_t kEstimateDigits = 15;
// partial product: an upper end of at most this many digits lets the lower
// end's predecessor be taken in a double (exact below 10^15); longer ends
// step it on texts. A bound of exactness only: it picks how one number is
// computed once a product, so no benchmark can see it.
inline constexpr std::size_t kBatchedEndDigits = 15;
// rangeProduct: small factors are multiplied in a double while the running
// batch stays below this bound, so every batch is a whole number a double
// holds exactly and its text has no exponent; only full batches go to the
// long product. Larger batches would mean fewer long multiplications but
// lose exactness.
//   build/bench/bin/engine_bench --benchmark_filter=EngineCrossRangeProduct
inline constexpr double kBatchLimit = 1e15;
// rangeProduct: a batch is kept while its 15-significant-digit text needs
// no exponent: values from here on round to "1E+15" (999999999999999.5 is
// a double), just below kBatchLimit.
inline constexpr double kBatchCeiling = 999999999999999.5;

// ---- Cancellation --------------------------------------------------------

// The schoolbook product polls for cancellation after about this many cell
// steps (nine-digit cells), and after every row when a row is longer. A
// smaller value polls more often for nothing; a larger one lets Cancel
// wait longer. At 2.3 ns a cell step (BM_EngineCrossMultiply/256/1: 6467
// steps in 14.7 us of CPU) it is about 10 ms between polls, well inside
// the tenth of a second a Cancel may take.
//   build/bench/bin/engine_bench --benchmark_filter='EngineCrossMultiply/256/1'
inline constexpr std::size_t kCellStepsPerPoll = std::size_t{1} << 22;

} // namespace longhand
