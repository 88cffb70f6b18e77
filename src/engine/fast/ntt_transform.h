// Number-theoretic transforms of length 2^k, 3 * 2^k, 5 * 2^k or 15 * 2^k
// modulo one of the primes of ntt_field.h, on residues in [0, 2p).
//
// forward() leaves the points in an order of its own (not the natural
// one, nor plain bit reversal); inverse() takes them in that order and
// returns n times the original array. That is all a convolution needs:
// inverse(forward(f) * forward(g)) = n (f * g mod x^n - 1).
#pragma once

#include "cancel.h"
#include "ntt_field.h"

#include <array>
#include <cstddef>

namespace longhand::fast::ntt {

// A transform length f 2^k (f = 1, 3, 5 or 15, k <= kMaxPow2Log) of at
// least `points` points (1 <= points <= kMaxPoints): of the shortest such
// length for each f, the one that costs least (thresholds.h); f > 1 only
// with 2^k >= kLeafVectorPoints. More than kMaxPoints throws
// std::length_error.
std::size_t transformLength(std::size_t points);

// What a transform of `length` points (a length of the kinds above) costs
// in the units of thresholds.h, the measure transformLength weighs.
double transformCost(std::size_t length);

// The longest length of each kind (f = 1, 3, 5, 15) shorter than `points`,
// within the same limits as transformLength; zero where a kind has none.
std::array<std::size_t, 4> lengthsBelow(std::size_t points);

// In place on a[0..n), n a transform length up to kMaxPoints, prime an
// index into kPrimes. The cancellation check is polled after each leaf
// and each piece of a pass; long transforms run on every thread.
void forward(u32* a, std::size_t n, int prime, const CancelCheck* cancel = nullptr);
void inverse(u32* a, std::size_t n, int prime, const CancelCheck* cancel = nullptr);

} // namespace longhand::fast::ntt
