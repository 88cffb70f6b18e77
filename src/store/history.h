// The history: every result the windows computed, with what produced it
// ("2^100-1", "Multiply", "Factorial 25") and when, kept across restarts.
//
// It lives in one folder (the app folder): the log "history.log", its lock
// "history.log.lock", and the folder "history-values" holding the values
// longer than kHistoryInlineDigits characters, one file each.
//
// The log is appended to, one line per entry, under the lock, so two windows
// writing at once lose nothing. Each line carries its own checksum: a line
// that a crash cut short, or that was damaged later, is left out on reading,
// and the lines around it still count. A long value's file is written (in
// one rename) before the line that names it, and its checksum is in the
// line, so a damaged value file loses that value only. Rewrites (the size
// limit, Clear History) replace the log in one rename.
//
// Reading the log never reads the long values' files: an entry names its
// file, its length and the first characters of its value, and value() reads
// the rest when the value is shown or used.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace longhand {

inline constexpr const char* kHistoryFileName = "history.log";
inline constexpr const char* kHistoryValuesFolder = "history-values";
inline constexpr std::string_view kHistoryLockSuffix = ".lock";
// Beside the log: the old log, kept when a rewrite leaves damaged lines out.
inline constexpr std::string_view kHistoryBackupSuffix = ".bak";

// Values longer than this live in a file of their own.
inline constexpr std::size_t kHistoryInlineDigits = 100000;
// Characters of a long value that its line repeats, to show without reading
// the file.
inline constexpr std::size_t kHistoryPreviewChars = 80;
// The size limit unless the settings say otherwise.
inline constexpr std::uint64_t kHistoryDefaultLimitBytes = 500ull * 1000 * 1000;
// A trim goes this far below the limit, so that the next appends do not
// rewrite the log again at once: a tenth of the limit.
inline constexpr int kHistoryTrimDivisor = 10;
// How long a write waits for another window's write.
inline constexpr std::chrono::milliseconds kHistoryLockWait{5000};

// What a window asks to keep.
struct HistoryRecord {
    std::string source; // what produced it: "2^100-1", "Multiply", "Factorial 25"
    std::string value;  // the result as shown
    std::string note;   // its length line: "12 digits", "(cut, not rounded)"
    // The exact value as a fraction "a/b" where `value` shows less than all
    // of it (a period, or digits cut); kHistoryTextMark where `value` is a
    // text, not a number; "" otherwise. Kept only up to
    // kHistoryInlineDigits characters.
    std::string exact{};
};

// HistoryRecord::exact of a value that is a text (a number written in
// another base, a word such as "prime"): the value is all of it, and it is
// no number.
inline constexpr const char* kHistoryTextMark = "text";

struct HistoryEntry {
    std::int64_t number = 0; // k of #k; grows by one with each entry
    std::int64_t time = 0;   // milliseconds since 1970-01-01 UTC
    std::string source;
    std::string note;
    std::uint64_t length = 0; // characters of the value
    // The whole value when it is kept in the log, else its first
    // kHistoryPreviewChars characters.
    std::string text;
    std::string exact;       // as HistoryRecord::exact
    std::string file;        // the value's file in the values folder, or ""
    std::uint32_t check = 0; // the value's checksum

    bool inLog() const { return file.empty(); }
};

// One reading of the log.
struct HistorySnapshot {
    std::vector<HistoryEntry> entries; // oldest first
    std::size_t damaged = 0;           // lines left out
    bool unreadable = false;           // the log exists but cannot be read
    // Where the next reading goes on from: the log file read and how far.
    std::uint64_t fileId = 0;
    std::uint64_t end = 0;
};

class HistoryStore {
  public:
    enum class Outcome {
        Written,
        Busy,      // another writer held the lock for longer than the wait
        Unwritable // the folder, the log or a value file cannot be written
    };

    struct Appended {
        Outcome outcome = Outcome::Written;
        std::vector<HistoryEntry> entries; // Written: as they were kept
        std::size_t dropped = 0;           // entries the size limit removed
    };

    // `folder`: where the log lives; `limitBytes`: the most that the log
    // and the value files may take together (0: no limit).
    explicit HistoryStore(std::string folder, std::uint64_t limitBytes = kHistoryDefaultLimitBytes,
                          std::chrono::milliseconds lockWait = kHistoryLockWait);

    std::string logPath() const;
    std::string valuesPath() const;

    // Every entry that reads whole.
    HistorySnapshot read() const;
    // Brings `snapshot` up to date: reads only the lines appended since it
    // was taken, or everything again when the log was replaced.
    void refresh(HistorySnapshot& snapshot) const;

    // Keeps `records` in this order, stamped `time` (ms since 1970), then
    // drops the oldest entries while the history is over its limit.
    Appended append(const std::vector<HistoryRecord>& records, std::int64_t time);
    Appended append(const HistoryRecord& record, std::int64_t time) {
        return append(std::vector<HistoryRecord>{record}, time);
    }

    // Removes every entry and value file.
    Outcome clear();

    // The entry's whole value: from the log, or read from its file. Nothing
    // when the file is missing or does not hold what the log says.
    std::optional<std::string> value(const HistoryEntry& entry) const;

    // Bytes the log and the value files take now.
    std::uint64_t usedBytes() const;

  private:
    void trim(std::size_t& dropped);

    std::string folder_;
    std::uint64_t limit_;
    std::chrono::milliseconds lockWait_;
};

// CRC-32 (the polynomial of zip and PNG) of `bytes`.
std::uint32_t historyChecksum(std::string_view bytes);

// The milliseconds since 1970 now.
std::int64_t historyNow();

} // namespace longhand
