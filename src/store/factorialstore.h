// The factorial store: the file "facDat.vok" that keeps the factorials
// computed so far, so that one asked for again is read instead of computed.
//
// The file holds records `n,"n!"` in ascending order of n, separated by CR LF,
// with no line end after the last one; the first record is `1,"1"`; keys are
// whole numbers without leading zeros. Every write produces exactly this.
// Reading is more tolerant: LF alone between records, blank lines and any
// line ends after the last one are accepted. A record is valid when it has
// the form, stands above the last valid key, and is proven to be n!
// (factorialproof.h); any other line is damage, which nothing reads or
// builds on. Reading never changes the file. A write keeps every valid
// record and cuts the damaged lines, adding them to the end of path + ".bak"
// before it does; what the backup held stays in it.
//
// Writes are safe between processes (two windows on one store): each takes
// an exclusive lock on path + ".lock" beside the file, reads the file as it
// is now, merges its records into it, and replaces the file in one rename,
// so no record that another process stored is lost. A store that is a
// symbolic link is written through the link. New files that an interrupted
// write left behind are removed by the next write, under the lock.
#pragma once

#include "engine/progress.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace longhand {

inline constexpr const char* kFacDataFileName = "facDat.vok";

// The first record of every store, and the whole of a new one.
inline constexpr std::string_view kFirstFacRecord = "1,\"1\"";

// Beside the store: where the damaged lines cut from it are kept, and the
// lock file of the writers.
inline constexpr std::string_view kFacBackupSuffix = ".bak";
inline constexpr std::string_view kFacLockSuffix = ".lock";

// How long a write waits for another window's write to finish.
inline constexpr std::chrono::milliseconds kFacStoreLockWait{5000};

// Keys longer than this are damage: their factorials could not be held.
inline constexpr std::size_t kMaxFacKeyDigits = 18;

struct FactorialRecord {
    std::string key;   // n
    std::string value; // n!
};

// What the store has to tell the user; the windows hold the words.
struct StoreNotice {
    enum class Kind {
        Unreadable, // read failed: n! is computed without the store and not stored
        Unwritable, // a write failed; the store stays as it was
        Busy,       // another window held the lock too long: not stored
        Cut         // damaged lines were cut; they were added to `backup`
    };
    Kind kind = Kind::Unreadable;
    std::string path;   // the store
    std::string backup; // Cut: where the cut bytes are kept
    bool operator==(const StoreNotice&) const = default;
};

class FactorialStore {
  public:
    enum class State {
        Ok,        // a file with at least one valid record
        Empty,     // no file, or one without a valid record and nothing to cut
        Damaged,   // a file with damaged lines and no valid record
        Unreadable // a file that cannot be opened or read
    };

    struct Lookup {
        enum class Place {
            Stored, // record is n's
            Gap,    // missing below a larger stored key: record is the nearest smaller
            Beyond  // larger than every valid key: record is the largest valid one
        };
        State state = State::Ok;
        Place place = Place::Beyond;
        FactorialRecord record;
        std::string next;     // Gap: the first stored key above n
        bool damaged = false; // damaged lines were passed on the way
    };

    struct Change {
        enum class Outcome {
            Written,   // the file was replaced
            Unchanged, // it held all of it already
            Unreadable,
            Unwritable,
            Busy,     // another writer held the lock for longer than kFacStoreLockWait
            Cancelled // stopped through its Progress before anything was written
        };
        Outcome outcome = Outcome::Unchanged;
        std::string largest; // Written, Unchanged: the largest stored key now
        std::string backup;  // Written: damaged lines were cut and added here
    };

    // `lockWait`: how long a write waits for another writer's lock.
    explicit FactorialStore(std::string path,
                            std::chrono::milliseconds lockWait = kFacStoreLockWait);

    const std::string& path() const { return path_; }
    std::string backupPath() const { return path_ + std::string(kFacBackupSuffix); }

    // Where n (a whole number >= 1 without leading zeros) stands. Reads the
    // records in order and stops at n's record or the first larger one, so
    // its cost depends on n, not on the size of the store. A store without a
    // valid record (Empty, Damaged, Unreadable) counts as the one record
    // `1,"1"`. With `progress`, Cancel stops the reading (the answer is
    // then of no use) and the share of the file read is reported.
    Lookup lookup(std::string_view n, Progress* progress = nullptr) const;

    // The largest valid key, read through the whole file; "" when the store
    // has no valid record (or cannot be read, or the reading is cancelled).
    std::string largestKey(Progress* progress = nullptr) const;

    // The key of the file's last record when that record is well formed
    // and proven (read from the end, without the records before it); ""
    // otherwise.
    std::string lastKey() const;

    // The largest valid key, for keeping a remembered one in line without
    // reading the whole store where that can be helped: `remembered` when
    // the file's last record has that key, or when the last record is
    // damaged and `remembered` is not below `reached` (a key known to be
    // stored); largestKey(progress) otherwise.
    std::string currentLargestKey(std::string_view remembered, std::string_view reached,
                                  Progress* progress = nullptr) const;

    // Every write waits for another window's lock, polling `progress` for
    // Cancel meanwhile, and reports the share of the old file merged.

    // Makes sure the store holds `1,"1"`: a missing or empty file gets it.
    Change create(Progress* progress = nullptr);
    // Stores n! where it belongs: insert() is meant for an n below the
    // largest stored key, append() for one beyond it; both go by the file
    // as it is at the time of writing, so an n that another window has
    // passed or stored meanwhile still lands in order, once.
    Change insert(std::string_view n, std::string_view factorial, Progress* progress = nullptr);
    Change append(std::string_view n, std::string_view factorial, Progress* progress = nullptr);
    // The records 1 to k from factorials[0] = 1! .. factorials[k-1] = k!;
    // stored records above k stay.
    Change storeTable(const std::vector<std::string>& factorials, Progress* progress = nullptr);

    // Told true (from the writing thread) when a write finds the lock held
    // by another window and starts to wait, and false when the wait ends.
    void setLockWaitNotice(std::function<void(bool waiting)> notice) {
        lockWaitNotice_ = std::move(notice);
    }

    // What to tell the user about a change, in order: the notice of a cut
    // with both paths, or why it was not written. Empty when all went well.
    std::vector<StoreNotice> notices(const Change& change) const;

  private:
    Change merge(std::vector<FactorialRecord> incoming, Progress* progress);

    std::string path_;
    std::chrono::milliseconds lockWait_;
    std::function<void(bool)> lockWaitNotice_;
};

// Order of whole numbers written without leading zeros: shorter first,
// equal lengths by character.
bool keyLess(std::string_view a, std::string_view b);

} // namespace longhand
