#include "factorial.h"

#include "rangeproduct.h"

#include <utility>

namespace longhand {

namespace {

using Store = FactorialStore;
using Step = HeldFactorial::Step;

// n! from x = m! (both empty: from 1), for a factorial the caller uses;
// for one that only the store's follow-ups need and no store keeps, just
// whether it could be computed: the refusal of a product too long to hold,
// else an empty result in its place.
Outcome continued(std::string_view n, std::string_view x, std::string_view m, bool compute,
                  Progress& progress) {
    if (auto refusal = productTooLong(n, x, m, 0)) return Outcome::refused(*refusal);
    if (compute) return rangeProduct(n, x, m, progress);
    return Outcome::result({}, false);
}

} // namespace

Outcome factorial(std::string_view nText, const FactorialStore* store, Progress& progress,
                  FactorialUse use) {
    if (!isWholeNumberText(nText)) return {};
    const std::string n = wholeNumberValue(nText);
    if (n == "0") return Outcome::result("1", false); // 0! = 1, from no store
    const bool computeUnkept = use != FactorialUse::StoreOnly;
    if (!store) {
        Outcome outcome = continued(n, "", "", computeUnkept, progress);
        outcome.calculated = outcome.isResult();
        return outcome;
    }

    Store::Lookup found = store->lookup(n);
    HeldFactorial held;
    held.n = n;
    held.store = found.state;
    held.offer = use == FactorialUse::Offer;
    Outcome outcome;
    switch (found.place) {
    case Store::Lookup::Place::Stored:
        held.step = Step::Read;
        held.reached = n;
        outcome = Outcome::result(std::move(found.record.value), false);
        break;
    case Store::Lookup::Place::Gap:
        // Continue from the nearest smaller stored factorial.
        held.step = Step::Insert;
        held.reached = std::move(found.next);
        outcome = continued(n, found.record.value, found.record.key, true, progress);
        break;
    case Store::Lookup::Place::Beyond:
        // Continue from the largest stored factorial.
        held.step = Step::Append;
        if (found.state == Store::State::Ok) held.largest = held.reached = found.record.key;
        outcome = continued(n, found.record.value, found.record.key, computeUnkept, progress);
        break;
    }
    if (progress.cancelled()) return Outcome::cancelled();
    if (!outcome.isResult()) return outcome;
    if (held.step == Step::Insert || (held.step == Step::Append && held.offer))
        held.value = outcome.text;
    outcome.calculated = false; // the store's follow-ups decide
    outcome.held = std::move(held);
    return outcome;
}

void keepFactorials(Outcome& outcome, FactorialStore& store, std::string_view remembered) {
    if (!outcome.held) return;
    HeldFactorial held = std::move(*outcome.held);
    outcome.held.reset();
    const bool computed = held.step != Step::Read;

    std::string upper(remembered);
    const auto follow = [&](const std::string& largest) {
        if (largest.empty() || largest == upper) return;
        upper = largest;
        outcome.largestStored = largest;
    };
    // True when the store holds what was asked.
    const auto report = [&](const Store::Change& change) {
        for (std::string& message : store.messages(change))
            outcome.notices.push_back(std::move(message));
        follow(change.largest);
        return change.outcome == Store::Change::Outcome::Written ||
               change.outcome == Store::Change::Outcome::Unchanged;
    };

    if (held.store == Store::State::Unreadable) {
        outcome.notices.push_back(kFacStoreUnreadable + store.path());
        outcome.calculated = outcome.calculated || computed;
        return;
    }
    std::string largest = held.largest;
    if (held.store == Store::State::Empty) {
        const Store::Change started = store.create();
        if (!report(started)) {
            // Told the user; n! was computed from 1 all the same.
            outcome.calculated = outcome.calculated || computed;
            return;
        }
        largest = started.largest;
    }
    if (largest.empty() && held.store == Store::State::Ok)
        largest = store.currentLargestKey(upper, held.reached);
    follow(largest);
    if (!computed) return;

    outcome.calculated = true;
    if (held.step == Step::Insert) {
        report(store.insert(held.n, held.value));
        return;
    }
    if (held.offer) outcome.offer = FactorialRecord{held.n, std::move(held.value)};
}

} // namespace longhand
