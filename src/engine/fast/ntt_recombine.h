// From the three residues of each convolution term back to limbs.
#pragma once

#include "cancel.h"
#include "natural.h"
#include "ntt_field.h"

#include <cstddef>

namespace longhand::fast::ntt {

// res holds three arrays of n words, one per prime (res + k n), whose
// first `terms` entries are s_k^-1 v_i mod p_k (in [0, 2p_k)) for the
// convolution terms v_i of a product, s_k being the transforms' scale n
// 2^-32 (an inverse transform's factor n and the Montgomery factor of the
// pointwise products). Writes the product sum v_i 10^(9 i) to r[0..nr),
// which must hold it, and overwrites res[0..terms) of each array.
void recombine(u32* res, std::size_t n, std::size_t terms, Limb* r, std::size_t nr,
               const CancelCheck* cancel);

// The same with the three arrays `stride` words apart (res + k stride),
// stride >= terms, for a product whose terms run past the n points of its
// transforms (the residues keep the scale of n).
void recombine(u32* res, std::size_t stride, std::size_t n, std::size_t terms, Limb* r,
               std::size_t nr, const CancelCheck* cancel);

} // namespace longhand::fast::ntt
