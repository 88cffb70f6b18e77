// Internals of the greatest common divisor, shared by its steps and
// visible for the tests.
//
// Every step of the gcd replaces (a, b) by (a', b') with (a, b) = P (a', b')
// for a 2 x 2 matrix P of non-negative integers whose determinant is +1 or
// -1. Such a matrix keeps the gcd, whatever produced it; the steps only
// differ in how much they shrink the pair for the work they cost. The
// half-gcd gathers the product M of all steps so that a caller can apply
// it to longer numbers whose top limbs these were.
#pragma once

#include "natural.h"

#include <cstddef>
#include <cstdint>

namespace longhand::fast::gcdstep {

struct Matrix {
    Natural m00{1}, m01, m10, m11{1};
    int det = 1;
    bool identity() const {
        return m01.empty() && m10.empty() && m00 == Natural{1} && m11 == Natural{1};
    }
};

// The matrix of a step computed on single words (Lehmer's step).
struct SmallMatrix {
    std::uint64_t p00 = 1, p01 = 0, p10 = 0, p11 = 1;
    int det = 1;
};

// One step that shrinks a and b while keeping both longer than s limbs
// (b < 10^(9 s) counts as reduced as far as allowed). Swaps as needed.
// With m, the step's matrix is multiplied into it on the right. Returns
// false, changing nothing, when no step is allowed; with s = 0 that means
// the smaller number divides the larger one.
bool reduceStep(Natural& a, Natural& b, std::size_t s, Matrix* m, const CancelCheck* cancel);

// Lehmer's matrix for a >= b: Euclid's steps on their top 62 bits, as many
// as are sure to be the steps of the whole numbers.
SmallMatrix lehmerMatrix(const Natural& a, const Natural& b);

// The half-gcd: shrinks a and b of n limbs in place to about n / 2 limbs
// each, both staying longer than n / 2 + 1 limbs, and returns the matrix M
// with (a, b) before = M (a, b) after.
Matrix halfGcd(Natural& a, Natural& b, const CancelCheck* cancel);

// m = m p (the columns' combinations).
void multiplyRight(Matrix& m, const Matrix& p, const CancelCheck* cancel);

// For (aTop, bTop) the limbs from p on of (a, b), reduced by halfGcd to
// (alpha, beta) with its matrix P: (a, b) becomes P^-1 (a, b), which is
// alpha 10^(9 p) plus the low limbs' share, computed from the low limbs
// alone. Returns false and changes nothing when a result would be negative
// or not longer than s limbs.
bool applyToLow(const Matrix& p, const Natural& alpha, const Natural& beta, Natural& a, Natural& b,
                std::size_t low, std::size_t s, const CancelCheck* cancel);

// Limbs [from, to) of a, canonical.
Natural limbSlice(const Natural& a, std::size_t from, std::size_t to = SIZE_MAX);

} // namespace longhand::fast::gcdstep
