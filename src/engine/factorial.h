// Factorials, with the factorial store that keeps the ones computed
// (factorialstore.h describes the file).
#pragma once

#include "factorialstore.h"
#include "outcome.h"
#include "progress.h"

#include <string_view>

namespace longhand {

// What n! is asked for.
enum class FactorialUse {
    Offer,    // the function dialog's factorial: one computed beyond the store is offered
    Value,    // n! needed on the way (a permutation of all): never offered
    StoreOnly // only the store's follow-ups: n! computed only where the store keeps it
};

// n! of a whole-number text, leading zeros allowed ("007" is 7); anything
// else (a sign, a point, a letter, "") gives Nothing. 0! is "1" without
// the store. A product too long to hold is refused (ProductTooLong, operand 0).
//
// Without a store n! is computed from 1. With one, n! is read when stored;
// when missing below the largest stored n, it is computed from the nearest
// smaller stored factorial; beyond it, from the largest stored one. The
// work only reads the store: what the store does about n! is held in the
// outcome for keepFactorials, so that a run that is cancelled writes
// nothing. With StoreOnly, the outcome's text is n! where the store will
// take it and empty elsewhere.
Outcome factorial(std::string_view n, const FactorialStore* store, Progress& progress,
                  FactorialUse use = FactorialUse::Offer);

// Does what the store holds back in `outcome`, once the work is done: starts
// a missing store with `1,"1"`, inserts a factorial computed below the
// largest stored n, and fills in the outcome's notices (a store that cannot
// be read or written, a damaged part cut), largestStored (against the
// largest n the caller remembers), the finished signal for a computed n!
// and the offer of one computed beyond the store. A store that cannot be
// read is neither read nor written; one that cannot be written is left as
// it is.
void keepFactorials(Outcome& outcome, FactorialStore& store, std::string_view remembered);

} // namespace longhand
