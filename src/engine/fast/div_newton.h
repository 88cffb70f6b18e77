// Internals of the Newton division, visible for the tests.
#pragma once

#include "natural.h"

namespace longhand::fast {

// For a normalised A = a[0..n) (a[n - 1] >= 10^9 / 2), n >= 1: X with
// A X < 10^(18 n) <= A (X + 2); X has n + 1 limbs (its top limb is 1 or 2).
Natural reciprocal(const Limb* a, std::size_t n, const CancelCheck* cancel = nullptr,
                   Scratch* scratch = nullptr);

} // namespace longhand::fast
