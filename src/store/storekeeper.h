// The factorial store as the engine's factorial sees it during one
// calculation: the work looks up where to start and leaves what it
// computed; finish() then does what the store needs once the work is done,
// so that a calculation that is cancelled or fails writes nothing.
#pragma once

#include "engine/factorial.h"
#include "factorialstore.h"

#include <optional>
#include <string>
#include <vector>

namespace longhand {

class StoreKeeper final : public FactorialKeeper {
  public:
    explicit StoreKeeper(FactorialStore& store) : store_(store) {}

    Start largestAtMost(std::string_view n, Progress& progress) override;
    void keep(KeptFactorial computed) override;

    // What came of the store's part in a calculation.
    struct Kept {
        std::vector<StoreNotice> notices;
        // The store's largest n where this calculation learned it; "" else.
        std::string largest;
        // A factorial beyond the store, asked for by itself: the user is
        // asked, and on Yes it goes to FactorialStore::append.
        std::optional<FactorialRecord> offer;
    };

    // Starts a missing store with `1,"1"`, inserts a factorial computed in
    // a gap, and says what the user is told. A store that cannot be read is
    // neither read nor written; one that cannot be written stays as it is.
    // Without a lookup (the work never reached the store), nothing.
    // `progress` (when given) can stop the writes before they replace the
    // store, and hears how far they are.
    Kept finish(Progress* progress = nullptr);

    FactorialStore& store() { return store_; }

  private:
    FactorialStore& store_;
    bool looked_ = false;
    FactorialStore::State state_ = FactorialStore::State::Ok;
    std::string largest_; // the largest key, when a lookup read to the end
    std::vector<FactorialRecord> gaps_;
    std::optional<FactorialRecord> beyond_;
};

} // namespace longhand
