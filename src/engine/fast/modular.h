// Arithmetic modulo a fixed number, for modular powers and the primality
// tests: Barrett's reduction with the Newton reciprocal of the modulus,
// computed once, and for long moduli the transforms of the reciprocal and
// of the modulus computed once as well, so that a modular product costs
// little more than two products.
#pragma once

#include "kernels.h"
#include "natural.h"

#include <cstdint>
#include <memory>
#include <string>

namespace longhand::fast {

class Modulus {
  public:
    // m >= 1.
    explicit Modulus(const Natural& m, const CancelCheck* cancel = nullptr);
    ~Modulus();
    Modulus(const Modulus&) = delete;
    Modulus& operator=(const Modulus&) = delete;

    // A residue that meets many others in products (an entry of a power's
    // window table): with a long modulus its transforms are computed once.
    struct Factor {
        Natural value;
        std::unique_ptr<kern::NttFactor> kept;
    };
    Factor prepare(const Natural& a) const;

    // Residues are kept below a multiple M = s m of m whose top limb is at
    // least 10^9 / 2 (Barrett's reduction needs that); canonical() brings
    // one below m.
    Natural reduce(const Natural& u) const; // u < M^2
    // q = floor(u / m), r = u - q m for u < m^2.
    void divide(const Natural& u, Natural& q, Natural& r) const;
    Natural mul(const Natural& a, const Natural& b) const;
    Natural mul(const Natural& a, const Factor& b) const;
    Natural sqr(const Natural& a) const;
    // a b and a^2 at once: a's transforms serve both.
    void mulAndSqr(const Natural& a, const Natural& b, Natural& ab, Natural& aa) const;
    // a s for a small s of either sign, |s| < 10^9.
    Natural mulSigned(const Natural& a, std::int64_t s) const;
    Natural add(const Natural& a, const Natural& b) const;
    Natural sub(const Natural& a, const Natural& b) const;
    Natural canonical(const Natural& a) const;
    // a^e for e given by its bits, most significant first; progress (when
    // given) hears the share of the bits done.
    Natural power(const Natural& a, const std::string& bits,
                  const CancelCheck* progress = nullptr) const;
    const Natural& modulus() const { return m_; }

  private:
    // u - q M for the quotient q of Barrett's step.
    Natural remainder(const Natural& u, const Natural& q) const;
    // u mod M for u < M^2, and floor(u / M) into quotient when given.
    Natural barrett(const Natural& u, Natural* quotient) const;

    Natural m_, big_, inverse_;
    Limb scale_ = 1; // M = scale_ m
    const CancelCheck* cancel_;
    // From the transforms' threshold on: the reciprocal's transforms for
    // the quotients, and M's for the products q M, which wrap around at
    // their length (the remainder is shorter than that).
    std::unique_ptr<kern::NttFactor> inverseKept_, bigWrapped_;
};

// e's binary digits, most significant first ("0" for zero).
std::string bitsOf(const Natural& e, const CancelCheck* cancel = nullptr);

// a^e mod m (m >= 1).
Natural powMod(const Natural& a, const Natural& e, const Natural& m,
               const CancelCheck* cancel = nullptr);

// The tests that primality() is made of, for odd n > 3: Miller's test to
// one base, and the strong Lucas test with Selfridge's parameters (the
// first D of 5, -7, 9, -11, ... with Jacobi symbol (D / n) = -1, P = 1,
// Q = (1 - D) / 4; false for a square n, which has no such D). True: n
// passes (is a strong probable prime for that test).
bool millerTest(const Natural& n, Limb base, const CancelCheck* cancel = nullptr);
bool strongLucasTest(const Natural& n, const CancelCheck* cancel = nullptr);

} // namespace longhand::fast
