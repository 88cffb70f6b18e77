// Factorials, starting from the nearest one kept from earlier work.
#pragma once

#include "outcome.h"
#include "progress.h"

#include <string>
#include <string_view>

namespace longhand {

// n and n!, as a keeper of factorials holds them.
struct KeptFactorial {
    std::string n;
    std::string value;
};

// What the factorial needs from whatever keeps the factorials computed so
// far: where to start, and where to leave one it computed. The factorial
// knows nothing of how they are kept; the factorial store (store/) is one
// keeper. Both calls come from the thread of the work.
class FactorialKeeper {
  public:
    struct Start {
        KeptFactorial from{"1", "1"}; // the largest kept k <= n, with k!
        bool beyond = true;           // nothing larger than n is kept
    };

    // The largest kept k <= n (a whole number >= 1 without leading zeros)
    // and its factorial; 1 and 1 when none is kept. A long search polls
    // `progress` for Cancel (its answer is then of no use) and reports to it.
    virtual Start largestAtMost(std::string_view n, Progress& progress) = 0;
    // n! as computed: the keeper takes it once the work is done (a work that
    // is cancelled or fails leaves nothing behind). A factorial beyond
    // every kept one comes only from a factorial asked for by itself, and
    // the user decides whether it is kept.
    virtual void keep(KeptFactorial computed) = 0;

  protected:
    ~FactorialKeeper() = default;
};

// What n! is asked for.
enum class FactorialUse {
    Offer,    // the function dialog's factorial: one computed beyond the keeper is handed to it
    Value,    // n! needed on the way (a permutation of all): never beyond the keeper
    StoreOnly // only for the keeper: n! computed only where the keeper takes it
};

// n! of a whole-number text, leading zeros allowed ("007" is 7); anything
// else (a sign, a point, a letter, "") gives Nothing. 0! is "1" without
// the keeper. A product too long to hold is refused (ProductTooLong,
// operand 0).
//
// Without a keeper n! is computed from 1. With one, n! is taken from it
// when kept; otherwise it is computed from the largest kept k! below it
// and handed back to the keeper where it fills a gap below a larger kept
// one, or (with Offer) lies beyond every kept one. With StoreOnly, the
// outcome's text is n! where the keeper takes it and empty elsewhere. The
// result is a finished calculation when it was computed, not taken.
Outcome factorial(std::string_view n, FactorialKeeper* keeper, Progress& progress,
                  FactorialUse use = FactorialUse::Offer);

} // namespace longhand
