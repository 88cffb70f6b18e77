// Algorithm thresholds of the fast arithmetic, all in one place.
//
// Sizes are in limbs of 9 decimal digits unless a name says otherwise. The
// rule everywhere is `size >= THRESHOLD` selects the faster algorithm.
// Tuned on the 2-core AMD EPYC development machine (family 25, model 17,
// AVX2 and AVX-512; the transforms run their AVX2 kernels) on 2026-12-06
// with the Cross* and BM_Transform benchmarks of bench/fast_bench on one
// thread (Release build):
//   LONGHAND_THREADS=1 build/bench/bin/fast_bench --benchmark_filter='Cross|Transform'
// Rerun them after changing a kernel. The transform lengths come in steps
// (f 2^k, f = 1, 3, 5, 15), so the transform's cost grows in small steps.
//
// LONGHAND_SMALL_THRESHOLDS (CMake option of the same name) makes every
// threshold tiny so that each path runs, and is tested, on small operands.
#pragma once

#include <cstddef>
#include <cstdint>

namespace longhand::fast {

#ifndef LONGHAND_SMALL_THRESHOLDS

// Smaller operand of a product: Karatsuba from here on, basecase below.
inline constexpr std::size_t kMulKaratsubaThreshold = 88;
// Smaller operand of a product: number-theoretic transform from here on.
inline constexpr std::size_t kMulNttThreshold = 104;
// A product whose longer operand has at least kNttSliceRatio times the
// limbs of the shorter runs the transforms on pieces of kNttSlicePieces
// times the shorter operand's length, reusing the shorter one's transforms.
inline constexpr std::size_t kNttSliceRatio = 4;
inline constexpr std::size_t kNttSlicePieces = 3;
// The same two for squares (Karatsuba only above the transforms' reach:
// below this size the schoolbook square beats it).
inline constexpr std::size_t kSqrKaratsubaThreshold = 104;
inline constexpr std::size_t kSqrNttThreshold = 104;
// Divisor and quotient both at least this long: Newton's reciprocal,
// below: schoolbook division.
inline constexpr std::size_t kDivNewtonThreshold = 80;
// The reciprocal's own recursion bottoms out in schoolbook division here.
inline constexpr std::size_t kReciprocalBasecase = 60;
// Range products: runs of at most this many factors are multiplied one by
// one into an accumulator; longer runs are split in two (product tree).
inline constexpr std::uint64_t kProductLeafFactors = 64;
// n! and C(n, k) from n on go through the prime factorisation (exponents
// by Legendre's formula, then squarings); below, the plain product tree.
inline constexpr std::uint64_t kFactorialPrimeThreshold = 2000;
// The half-gcd recurses on the top limbs from this many limbs on; below,
// Lehmer's steps one after another.
inline constexpr std::size_t kHalfGcdThreshold = 120;
// The gcd hands numbers of this many limbs and more to the half-gcd.
inline constexpr std::size_t kGcdHalfThreshold = 200;
// Base conversion: pieces of fewer limbs go group by group through
// single-limb arithmetic; longer ones split in two by a power of the base.
inline constexpr std::size_t kRadixBasecaseLimbs = 20;

// A node of a product tree whose product will have at least this many
// limbs computes its two halves side by side.
inline constexpr std::size_t kParallelProductLimbs = 4096;
// n! and C(n, k) from this n on build their prime-power products side by
// side.
inline constexpr std::uint64_t kParallelFactorialN = 100000;
// Limb products between two polls of the cancellation check in a long
// schoolbook product or division (a few milliseconds).
inline constexpr std::size_t kSchoolbookPollWork = std::size_t{1} << 22;
// Transforms longer than this many points (a power of two, at least 64)
// run their first stages as column passes and each block of this size (a
// row) as one leaf transform in cache.
inline constexpr std::size_t kNttLeafPoints = std::size_t{1} << 13;
// Blocks of a transform with at least this many points split their
// passes and sub-blocks over the threads.
inline constexpr std::size_t kNttParallelPoints = std::size_t{1} << 15;
// Loops over long arrays (transform passes, pointwise products, the
// recombination, text conversion) hand each thread pieces of at least
// this many points or limbs.
inline constexpr std::size_t kParallelGrain = std::size_t{1} << 14;
// Sums, differences and single-limb products of this many limbs and more
// run in pieces on every thread, their carries rippled across the edges
// afterwards (linear.cpp). A piece this long takes about a tenth of a
// millisecond; below, the hand-over costs more than it saves.
inline constexpr std::size_t kParallelLinearLimbs = std::size_t{1} << 16;

#else

inline constexpr std::size_t kMulKaratsubaThreshold = 4;
inline constexpr std::size_t kMulNttThreshold = 12;
inline constexpr std::size_t kSqrKaratsubaThreshold = 4;
inline constexpr std::size_t kSqrNttThreshold = 12;
inline constexpr std::size_t kNttSliceRatio = 4;
inline constexpr std::size_t kNttSlicePieces = 3;
inline constexpr std::size_t kDivNewtonThreshold = 3;
inline constexpr std::size_t kReciprocalBasecase = 60;
inline constexpr std::uint64_t kProductLeafFactors = 2;
inline constexpr std::uint64_t kFactorialPrimeThreshold = 10;
inline constexpr std::size_t kHalfGcdThreshold = 6;
inline constexpr std::size_t kGcdHalfThreshold = 5;
inline constexpr std::size_t kRadixBasecaseLimbs = 2;
inline constexpr std::size_t kParallelProductLimbs = 32;
inline constexpr std::uint64_t kParallelFactorialN = 20;
inline constexpr std::size_t kSchoolbookPollWork = 256;
inline constexpr std::size_t kNttLeafPoints = 64;
inline constexpr std::size_t kNttParallelPoints = 256;
inline constexpr std::size_t kParallelGrain = 64;
inline constexpr std::size_t kParallelLinearLimbs = 4;

#endif

// Schoolbook products of up to this many result limbs gather their
// columns in a buffer on the stack; longer ones allocate it. A limit of
// stack use, not a speed crossover.
inline constexpr std::size_t kStackColumns = 512;
// Sieving for the prime factorisation of n! and C(n, k) stops being
// sensible beyond this n (the sieve's memory); above it the plain product
// tree runs. A limit, not measured.
inline constexpr std::uint64_t kPrimeSieveLimit = std::uint64_t{1} << 28;
// C(n, k) goes through the primes only when k >= n / this; with fewer
// factors the product tree of the k top factors over k! is faster. Set by
// hand; BM_Binomial of fast_bench times the binomials on either side:
//   build/bench/bin/fast_bench --benchmark_filter=Binomial
inline constexpr std::uint64_t kBinomialPrimeRatio = 64;
// Leaf transforms from this many points on run their last three stages
// across the lanes of eight vectors of eight: fixed by that layout (both
// kernel sets), not measured.
inline constexpr std::size_t kLeafVectorPoints = 64;
// Blocks of this many bytes and more are mapped on their own, on huge
// pages, and kept in the arena of a calculation (natural.h, memory.cpp):
// two huge pages, so that the rounding to whole huge pages wastes at most
// a third. Below, the allocator's heaps serve faster.
inline constexpr std::size_t kLargeBytes = std::size_t{4} << 20;
// Blocks of the C++ allocator from this size are mappings of their own
// (the C library maps every block above 32 MiB), so kept memory may be
// laid under them (MemoryScope::lendKept).
inline constexpr std::size_t kLendableBytes = std::size_t{64} << 20;
// Longest result, in decimal digits, that the operations will build: a
// limit of memory (about 2 bytes a digit at the peak of a product), not
// of speed.
inline constexpr double kMaxResultDigits = 2.0e9;

// Items of one piece of a parallel loop at most (par::piecesOf): a piece
// polls the cancellation check when it ends, and a piece this long takes a
// few milliseconds.
inline constexpr std::size_t kMostPieceItems = std::size_t{1} << 20;
// Texts from this many bytes on are checked for digits in parallel pieces
// (firstNonDigit): below, one thread scans them in well under a
// millisecond.
inline constexpr std::size_t kParallelScanBytes = std::size_t{1} << 20;
// Limbs read or written between two polls in the text conversions and
// the copies into the transforms (a millisecond or two).
inline constexpr std::size_t kConvertPollLimbs = std::size_t{1} << 18;
// Nodes of a product tree whose product has fewer limbs than this measure
// their work as a whole, not by their halves: below it a node takes too
// little time for its share to show.
inline constexpr double kMeasuredNodeLimbs = 16384;

// The cost of a transform length f 2^k, in passes of a radix-2 stage over
// all points: k for the power-of-two stages, these for the radix-3, radix-5
// and radix-15 layers, kNttPointCost for the work once per point (packing,
// pointwise product, recombination), and kNttLayerSetupCost points' worth
// of stages for the constants of each radix-3 or radix-5 pass (one of them
// for f = 3 or 5, four for 15). The product takes the cheapest length
// that holds its terms. Measured with BM_Transform of fast_bench (one
// thread) on the development machine above, 2026-12-06; the radix-15 cost
// again on 2026-12-07 from whole products on either side of 15 2^17 and
// 15 2^16 points (bench/transform_study, EngineJump and EngineNear15):
// there a product of 15 2^k points takes about 6% longer than one of
// 2^(k+4), so 15 2^k is left to the terms no power of two holds.
inline constexpr double kNttRadix3Cost = 2.6;
inline constexpr double kNttRadix5Cost = 3.0;
inline constexpr double kNttRadix15Cost = 7.5;
inline constexpr double kNttPointCost = 3.0;
inline constexpr double kNttLayerSetupCost = 4000;
// A product whose terms run past a transform length by at most
// 1/kNttTopShare of it may take that shorter length and compute the terms
// past it by a short transform of their own (mul_ntt.cpp), when the costs
// above say that the two together cost less than the next length. A bound
// on the short transform's size (it reuses the second operand's buffer),
// not measured.
inline constexpr std::size_t kNttTopShare = 8;

// The costs the shares of a long operation's progress are weighed by
// (cancel.h), against one butterfly of a transform: units of work a limb's
// text costs to read or write, products of the dividend's size a long
// division costs (the reciprocal and two products a block), and top
// products a product tree or a power costs in all. Estimates, checked
// against the shares of the steps in a profile of a long product:
//   perf record build/default/bin/longhand-calc mul @a @b > /dev/null; perf report
// A weight off by a factor of two only makes the progress move unevenly.
inline constexpr double kConversionUnits = 4.0;
inline constexpr double kDivisionProducts = 3.0;
inline constexpr double kTreeProducts = 2.0;

} // namespace longhand::fast
