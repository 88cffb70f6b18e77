#include "storekeeper.h"

#include <algorithm>
#include <utility>

namespace longhand {

using Place = FactorialStore::Lookup::Place;
using State = FactorialStore::State;

FactorialKeeper::Start StoreKeeper::largestAtMost(std::string_view n, Progress& progress) {
    FactorialStore::Lookup found = store_.lookup(n, &progress);
    // An unreadable store outweighs whatever another lookup found.
    if (!looked_ || state_ != State::Unreadable) state_ = found.state;
    looked_ = true;
    Start start;
    start.from = {std::move(found.record.key), std::move(found.record.value)};
    start.beyond = found.place == Place::Beyond;
    if (start.beyond && found.state == State::Ok) largest_ = start.from.n;
    return start;
}

void StoreKeeper::keep(KeptFactorial computed) {
    FactorialRecord record{std::move(computed.n), std::move(computed.value)};
    // Beyond the largest stored key exactly when the lookup read to the end.
    if (!largest_.empty() && keyLess(largest_, record.key)) {
        beyond_ = std::move(record);
        return;
    }
    if (largest_.empty() && (state_ != State::Ok)) {
        // A store without a valid record counts as `1,"1"`: beyond it.
        beyond_ = std::move(record);
        return;
    }
    const bool known = std::any_of(gaps_.begin(), gaps_.end(),
                                   [&](const FactorialRecord& r) { return r.key == record.key; });
    if (!known) gaps_.push_back(std::move(record));
}

StoreKeeper::Kept StoreKeeper::finish(Progress* progress) {
    Kept kept;
    if (!looked_) return kept;
    const auto report = [&](const FactorialStore::Change& change) {
        for (StoreNotice& notice : store_.notices(change))
            kept.notices.push_back(std::move(notice));
        if (!change.largest.empty()) kept.largest = change.largest;
        return change.outcome == FactorialStore::Change::Outcome::Written ||
               change.outcome == FactorialStore::Change::Outcome::Unchanged;
    };
    if (state_ == State::Unreadable) {
        kept.notices.push_back({StoreNotice::Kind::Unreadable, store_.path(), {}});
        return kept;
    }
    kept.largest = largest_;
    if (state_ == State::Empty && !report(store_.create(progress))) return kept; // told the user
    std::sort(gaps_.begin(), gaps_.end(), [](const FactorialRecord& a, const FactorialRecord& b) {
        return keyLess(a.key, b.key);
    });
    for (const FactorialRecord& gap : gaps_)
        report(store_.insert(gap.key, gap.value, progress));
    if (beyond_) kept.offer = std::move(*beyond_);
    return kept;
}

} // namespace longhand
