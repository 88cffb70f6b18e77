// The proof of a stored factorial: a record's digits and n! compared modulo
// three primes just below 2^32. A record whose value differs from n! differs
// by a nonzero amount, and it passes only when that amount is a multiple of
// the primes' product (about 7.9 * 10^28): damage that is not made to pass
// on purpose slips through about once in 10^28 records.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace longhand {

using FactorialResidue = std::array<std::uint64_t, 3>;

// A decimal number's residues, fed its digits from the first on, in pieces
// of any length.
class DigitResidues {
  public:
    void add(std::string_view digits);
    // The residues of the digits fed so far.
    FactorialResidue residues() const;

  private:
    FactorialResidue folded_{};
    std::uint64_t chunk_ = 0; // digits not yet folded in, fewer than 8
    int pending_ = 0;
};

// n! modulo the primes. Each call goes on from the n of the one before, or
// from a checkpoint the process keeps every 16,384 factorials once some
// proof has passed it, whichever is nearer; a smaller n starts again from 1.
// Safe to use from several threads, each with its own object.
class FactorialResidues {
  public:
    const FactorialResidue& at(std::uint64_t n);

  private:
    std::uint64_t n_ = 1;
    FactorialResidue residues_{1, 1, 1};
};

} // namespace longhand
