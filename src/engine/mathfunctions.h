// Roots, greatest common divisors and least common multiples, other bases,
// modular powers and primality on number texts: what longhand-calc's
// commands and the expression language's functions of the same names
// compute. Each checks its arguments, refuses what it does not take (a
// refusal naming the argument, counted from 0, refusal.h), and runs the
// fast arithmetic with progress and Cancel.
#pragma once

#include "outcome.h"
#include "progress.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace longhand {

// The k-th root of the number text x (k >= 2; square root for k = 2): exact
// where x is a perfect power of a decimal with few enough places, else cut
// (never rounded) after `places` decimals; Outcome::cut says which. Without
// places, as many as a division of x by 1 gets: one more than the digits of
// x's digit string when it has two or more, else 20, plus x's own decimals.
// An odd root of a negative number is negative, an even one refused.
Outcome root(std::string_view x, std::string_view k, std::optional<std::string_view> places,
             Progress& progress);

// The places root() takes without a count, for x's digit string and decimals.
std::uint64_t defaultRootPlaces(std::string_view x);

// gcd and lcm of two or more whole numbers (signs allowed, results never
// negative; gcd(0, 0) = 0, an lcm with a 0 is 0).
Outcome gcd(const std::vector<std::string>& values, Progress& progress);
Outcome lcm(const std::vector<std::string>& values, Progress& progress);

// x, a whole number, in base b (2 to 36, digits 0-9 then a-z, "-" for a
// negative x); and a text in base b back, with an optional "-" and letters
// in either case.
Outcome toBase(std::string_view x, std::string_view b, Progress& progress);
Outcome fromBase(std::string_view text, std::string_view b, Progress& progress);

// a^e mod m for whole a (any sign), e >= 0, m >= 1; the result is in [0, m).
Outcome powMod(std::string_view a, std::string_view e, std::string_view m, Progress& progress);

// Whether the whole n is prime, as an answer (answer.h): Prime where it is
// proven, ProbablePrime above that bound, Composite, or
// NeitherPrimeNorComposite for 0, 1 and negative numbers.
Outcome isPrime(std::string_view n, Progress& progress);
// The same for the digits of a whole number without sign, on the fast
// arithmetic's cancel check (which may throw fast::Cancelled).
Answer primalityOfWhole(std::string_view digits, const fast::CancelCheck* cancel);
// The least prime above the whole n (a probable prime above the proven
// bound).
Outcome nextPrime(std::string_view n, Progress& progress);

} // namespace longhand
