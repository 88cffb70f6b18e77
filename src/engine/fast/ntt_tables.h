// Twiddle tables of the number-theoretic transforms, one set per prime,
// computed once and shared by every transform (and every thread).
//
// The transforms split the cyclic convolution's modulus x^n - 1 by the
// polynomial remainder tree (Bernstein, "Fast multiplication and its
// applications", 2008): a block of 2 len points at one stage holds a
// polynomial modulo x^(2 len) - d^2, and the butterfly with twiddle d
// splits it into the remainders modulo x^len - d and x^len + d. Numbering
// the blocks of each stage 0, 1, 2, ... from the left, block b always has
// the same twiddle whatever its size, T[b] = rho^brev(b), rho of order
// 2^kMaxPow2Log and brev the reversal of b's kMaxPow2Log - 1 bits; the two
// halves of block b are blocks 2b and 2b + 1 of the next stage. A stage
// with many blocks reads many twiddles, one with few blocks only a few.
#pragma once

#include "ntt_field.h"

#include <vector>

namespace longhand::fast::ntt {

// Block twiddles for one prime and one direction, with Shoup quotients.
struct BlockTwiddles {
    // T[b] for b < size (the inverse direction holds T[b]^-1).
    std::vector<u32> w, wq;
    // T reordered for the last two stages of a leaf transform, whose eight
    // blocks of eight points lie across the lanes of eight vectors (see
    // ntt_kernels.h): entry 16 g + 8 h + l is T[16 g + 2 l + h] (blocks of
    // four points) and, in w1, entry 32 g + 8 h + l is T[32 g + 4 l + h]
    // (blocks of two).
    std::vector<u32> w2, w2q, w1, w1q;
};

// The constants of the radix-3 and radix-5 layers (ntt_kernels.h) in one
// direction, each with its Shoup quotient: c3 the cube root of unity (its
// inverse for the inverse layer) and a1, a2, b1, b2 of the five-point
// combination. Neither root depends on the transform's length.
struct LayerConstants {
    u32 c3, c3q, a1, a1q, a2, a2q, b1, b1q, b2, b2q;
};

struct PrimeTables {
    BlockTwiddles forward, inverse;
    LayerConstants layers[2]; // forward, inverse
    // A root of unity of order f 2^k for f = 1, 3, 5, 15 (index 0 to 3)
    // and k <= kMaxPow2Log; [1] holds the inverses.
    u32 roots[2][4][kMaxPow2Log + 1];
};

// Entries each table holds: enough for the leaf transforms and for the
// column passes above them (thresholds.h, kNttLeafPoints).
std::size_t twiddleCount();

const PrimeTables& tablesOf(int prime);

} // namespace longhand::fast::ntt
