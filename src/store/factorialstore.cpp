#include "factorialstore.h"

#include "engine/rangeproduct.h"
#include "filestore.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <fcntl.h>
#include <numbers>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace longhand {

namespace {

// Bytes read from the store at a time: a lookup of a small n reads one piece.
constexpr std::size_t kReadChunkBytes = std::size_t{1} << 18;

// Bytes read at a time when a file's last record is read from its end.
constexpr std::size_t kBackChunkBytes = std::size_t{1} << 16;

// Below this n, log10(n!) is summed term by term.
constexpr std::uint64_t kSummedLogFactorials = 64;

constexpr std::string_view kRecordSeparator = "\r\n";

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

// An open file descriptor, closed when it goes.
class OpenFile {
  public:
    explicit OpenFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) error_ = errno;
    }
    ~OpenFile() {
        if (fd_ >= 0) ::close(fd_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    int fd() const { return fd_; }
    // The file is not there (nor the folder it would be in).
    bool missing() const { return fd_ < 0 && (error_ == ENOENT || error_ == ENOTDIR); }

  private:
    int fd_;
    int error_ = 0;
};

// The number of digits of n! lies in [low, high]; n! ends in exactly
// `zeros` zeros (one for each factor 5 in 1..n).
struct FactorialShape {
    std::uint64_t low = 1;
    std::uint64_t high = 1;
    std::uint64_t zeros = 0;
};

// log10(n!): the sum of the logarithms for small n, Stirling's series
// (ln n! = n ln n - n + ln(2 pi n) / 2 + 1/(12n) - 1/(360 n^3) + ...) above.
long double log10Factorial(std::uint64_t n) {
    if (n < kSummedLogFactorials) {
        long double sum = 0;
        for (std::uint64_t k = 2; k <= n; ++k)
            sum += std::log10(static_cast<long double>(k));
        return sum;
    }
    const long double x = static_cast<long double>(n);
    const long double lnFactorial = x * std::log(x) - x +
                                    std::log(2 * std::numbers::pi_v<long double> * x) / 2 +
                                    1 / (12 * x) - 1 / (360 * x * x * x);
    return lnFactorial / std::numbers::ln10_v<long double>;
}

// The bounds allow for the rounding of the logarithm, so they hold one
// length, or two where log10(n!) lies very close to a whole number.
FactorialShape shapeOf(std::string_view key) {
    std::uint64_t n = 0;
    for (char c : key)
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    FactorialShape shape;
    for (std::uint64_t p = 5; p <= n; p *= 5) {
        shape.zeros += n / p;
        if (p > n / 5) break;
    }
    const long double digits = log10Factorial(n);
    const long double slack = digits * 1e-12L + 1e-6L;
    shape.low = static_cast<std::uint64_t>(std::max(0.0L, std::floor(digits - slack))) + 1;
    shape.high = static_cast<std::uint64_t>(std::floor(digits + slack)) + 1;
    return shape;
}

// Reads the records of a store one at a time, checking each: its form, its
// place in the order and its shape as a factorial.
class RecordReader {
  public:
    enum class Next { Record, End, Damage, Failed };

    explicit RecordReader(int fd) : fd_(fd), buffer_(kReadChunkBytes) {}

    // The next record into `into`; its value only with keepValue. End: the
    // file ends after the last record (line ends allowed); Damage: the bytes
    // from here on are not a valid record; Failed: the file cannot be read.
    Next next(FactorialRecord& into, bool keepValue) {
        if (!separator()) return failed_ ? Next::Failed : (atEnd_ ? Next::End : Next::Damage);
        const Next read = record(into, keepValue);
        if (read == Next::Record) {
            lastKey_ = into.key;
            ++count_;
        }
        return read;
    }

    std::uint64_t count() const { return count_; }

    // The old file's bytes, from the start, for a copy.
    bool copyTo(AtomicFile& out) {
        for (off_t at = 0;;) {
            const ssize_t n = ::pread(fd_, buffer_.data(), buffer_.size(), at);
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) return false;
            if (n == 0) return out.ok();
            out.write(std::string_view(buffer_.data(), static_cast<std::size_t>(n)));
            at += n;
        }
    }

  private:
    int peek() {
        if (pos_ == end_ && !fill()) return -1;
        return static_cast<unsigned char>(buffer_[pos_]);
    }
    bool fill() {
        if (eof_ || failed_) return false;
        for (;;) {
            const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) failed_ = true;
            if (n == 0) eof_ = true;
            if (n <= 0) return false;
            pos_ = 0;
            end_ = static_cast<std::size_t>(n);
            return true;
        }
    }
    bool take(char c) {
        if (peek() != c) return false;
        ++pos_;
        return true;
    }

    // Before a record: nothing before the first one, one line end (CR LF or
    // LF) between two. Any run of line ends that reaches the end of the file
    // ends it (atEnd_). False when no record may follow here.
    bool separator() {
        char run[3] = {};
        std::size_t length = 0;
        bool tooLong = false;
        for (int c = peek(); c == '\r' || c == '\n'; c = peek()) {
            if (length < sizeof run)
                run[length++] = static_cast<char>(c);
            else
                tooLong = true;
            ++pos_;
        }
        if (peek() < 0) {
            atEnd_ = !failed_;
            return false;
        }
        const std::string_view seen(run, length);
        if (count_ == 0) return seen.empty();
        return !tooLong && (seen == "\r\n" || seen == "\n");
    }

    // Digits from here on, at most `limit` kept (one more is read, so that
    // a longer run shows); the value's first digit and trailing zeros noted.
    std::uint64_t digits(std::string* out, std::uint64_t limit) {
        std::uint64_t count = 0;
        zeros_ = 0;
        first_ = -1;
        while (count <= limit) {
            if (pos_ == end_ && !fill()) break;
            const std::size_t from = pos_;
            std::size_t to = pos_;
            const std::size_t room =
                static_cast<std::size_t>(std::min<std::uint64_t>(end_ - pos_, limit + 1 - count));
            while (to < from + room && isDigit(buffer_[to]))
                ++to;
            if (to == from) break;
            if (first_ < 0) first_ = buffer_[from];
            std::size_t z = to;
            while (z > from && buffer_[z - 1] == '0')
                --z;
            zeros_ = (z == from) ? zeros_ + (to - from) : to - z;
            if (out) out->append(buffer_.data() + from, to - from);
            count += to - from;
            pos_ = to;
            if (to < end_) break;
        }
        return count;
    }

    Next record(FactorialRecord& into, bool keepValue) {
        into.key.clear();
        into.value.clear();
        const std::uint64_t keyDigits = digits(&into.key, kMaxFacKeyDigits);
        if (keyDigits == 0 || keyDigits > kMaxFacKeyDigits || first_ == '0') return broken();
        if (count_ == 0 ? into.key != "1" : !keyLess(lastKey_, into.key)) return broken();
        if (!take(',') || !take('"')) return broken();
        // No factorial longer than the longest product is ever stored.
        const FactorialShape shape = shapeOf(into.key);
        if (shape.low > static_cast<std::uint64_t>(kMaxProductDigits)) return broken();
        const std::uint64_t valueDigits = digits(keepValue ? &into.value : nullptr, shape.high);
        if (valueDigits < shape.low || valueDigits > shape.high || first_ == '0' ||
            zeros_ != shape.zeros)
            return broken();
        if (count_ == 0 && first_ != '1') return broken();
        if (!take('"')) return broken();
        return Next::Record;
    }

    Next broken() const { return failed_ ? Next::Failed : Next::Damage; }

    int fd_;
    std::vector<char> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool atEnd_ = false;
    std::uint64_t count_ = 0;
    std::string lastKey_;
    std::uint64_t zeros_ = 0;
    int first_ = -1;
};

// Reads a file backwards, one byte at a time, from its end.
class BackwardReader {
  public:
    BackwardReader(int fd, off_t size) : fd_(fd), unread_(size), buffer_(kBackChunkBytes) {}

    // The byte before the ones read so far; -1 at the file's start (or
    // when it cannot be read).
    int previous() {
        if (held_ == 0 && !fill()) return -1;
        return static_cast<unsigned char>(buffer_[--held_]);
    }

  private:
    bool fill() {
        if (unread_ <= 0) return false;
        const std::size_t n =
            static_cast<std::size_t>(std::min<off_t>(unread_, static_cast<off_t>(buffer_.size())));
        const off_t from = unread_ - static_cast<off_t>(n);
        for (std::size_t got = 0; got < n;) {
            const ssize_t r =
                ::pread(fd_, buffer_.data() + got, n - got, from + static_cast<off_t>(got));
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) {
                unread_ = 0;
                return false;
            }
            got += static_cast<std::size_t>(r);
        }
        unread_ = from;
        held_ = n;
        return true;
    }

    int fd_;
    off_t unread_;
    std::vector<char> buffer_;
    std::size_t held_ = 0;
};

FactorialRecord firstRecord() {
    return {"1", "1"};
}

void writeRecord(AtomicFile& out, const FactorialRecord& record, bool first) {
    if (!first) out.write(kRecordSeparator);
    out.write(record.key);
    out.write(",\"");
    out.write(record.value);
    out.write("\"");
}

} // namespace

bool keyLess(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

FactorialStore::FactorialStore(std::string path, std::chrono::milliseconds lockWait)
    : path_(std::move(path)), lockWait_(lockWait) {}

FactorialStore::Lookup FactorialStore::lookup(std::string_view n) const {
    Lookup found;
    found.record = firstRecord();
    const OpenFile file(path_);
    if (file.fd() < 0) {
        found.state = file.missing() ? State::Empty : State::Unreadable;
    } else {
        RecordReader reader(file.fd());
        FactorialRecord current;
        for (;;) {
            const RecordReader::Next next = reader.next(current, true);
            if (next == RecordReader::Next::Record) {
                if (current.key == n) {
                    found.place = Lookup::Place::Stored;
                    found.record = std::move(current);
                    return found;
                }
                if (keyLess(n, current.key)) {
                    found.place = Lookup::Place::Gap;
                    found.next = std::move(current.key);
                    return found;
                }
                std::swap(found.record, current);
                continue;
            }
            if (next == RecordReader::Next::Failed) {
                found = Lookup{};
                found.state = State::Unreadable;
                found.record = firstRecord();
            } else if (reader.count() == 0) {
                found.state = next == RecordReader::Next::Damage ? State::Damaged : State::Empty;
            }
            found.damaged = next == RecordReader::Next::Damage;
            break;
        }
    }
    // Without a valid record the store counts as `1,"1"`.
    if (found.state != State::Ok && n == "1") found.place = Lookup::Place::Stored;
    return found;
}

std::string FactorialStore::largestKey() const {
    const OpenFile file(path_);
    if (file.fd() < 0) return {};
    RecordReader reader(file.fd());
    FactorialRecord current;
    std::string largest;
    for (;;) {
        const RecordReader::Next next = reader.next(current, false);
        if (next == RecordReader::Next::Failed) return {};
        if (next != RecordReader::Next::Record) return largest;
        largest = std::move(current.key);
    }
}

std::string FactorialStore::lastKey() const {
    const OpenFile file(path_);
    struct stat st {};
    if (file.fd() < 0 || ::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode)) return {};
    BackwardReader back(file.fd(), st.st_size);
    int c = back.previous();
    while (c == '\r' || c == '\n')
        c = back.previous();
    if (c != '"') return {};
    std::uint64_t digits = 0, zeros = 0;
    int first = -1;
    for (c = back.previous(); isDigit(c); c = back.previous()) {
        if (digits == zeros && c == '0') ++zeros;
        first = c;
        ++digits;
    }
    if (c != '"' || back.previous() != ',') return {};
    std::string key;
    for (c = back.previous(); isDigit(c) && key.size() <= kMaxFacKeyDigits; c = back.previous())
        key.insert(key.begin(), static_cast<char>(c));
    if (key.empty() || key.size() > kMaxFacKeyDigits || key[0] == '0') return {};
    if (c != '\n' && !(c < 0 && key == "1")) return {};
    const FactorialShape shape = shapeOf(key);
    if (digits < shape.low || digits > shape.high || zeros != shape.zeros || first == '0')
        return {};
    return key;
}

std::string FactorialStore::currentLargestKey(std::string_view remembered,
                                              std::string_view reached) const {
    const bool plausible =
        !remembered.empty() && remembered[0] != '0' && remembered.size() <= kMaxFacKeyDigits &&
        std::all_of(remembered.begin(), remembered.end(), [](char c) { return isDigit(c); }) &&
        !keyLess(remembered, reached);
    if (plausible) {
        const std::string last = lastKey();
        if (last == remembered || last.empty()) return std::string(remembered);
    }
    return largestKey();
}

FactorialStore::Change FactorialStore::create() {
    return merge({});
}

FactorialStore::Change FactorialStore::insert(std::string_view n, std::string_view factorial) {
    return merge({{std::string(n), std::string(factorial)}});
}

FactorialStore::Change FactorialStore::append(std::string_view n, std::string_view factorial) {
    return merge({{std::string(n), std::string(factorial)}});
}

FactorialStore::Change FactorialStore::storeTable(const std::vector<std::string>& factorials) {
    std::vector<FactorialRecord> records;
    records.reserve(factorials.size());
    for (std::size_t i = 0; i < factorials.size(); ++i)
        records.push_back({std::to_string(i + 1), factorials[i]});
    return merge(std::move(records));
}

// Writes the valid records of the file as it is now merged with `incoming`
// (ascending keys; an incoming record replaces a stored one with its key),
// with `1,"1"` first, when that changes any record.
FactorialStore::Change FactorialStore::merge(std::vector<FactorialRecord> incoming) {
    using Outcome = Change::Outcome;
    Change change;
    if (incoming.empty() || incoming.front().key != "1")
        incoming.insert(incoming.begin(), firstRecord());

    const std::optional<std::string> target = linkTarget(path_);
    if (!target) {
        change.outcome = Outcome::Unreadable;
        return change;
    }
    const FileLock lock(*target + std::string(kFacLockSuffix), lockWait_);
    if (lock.status() != FileLock::Status::Held) {
        change.outcome =
            lock.status() == FileLock::Status::Busy ? Outcome::Busy : Outcome::Unwritable;
        return change;
    }
    removeLeftoverNewFiles(*target);
    removeLeftoverNewFiles(backupPath());

    const OpenFile file(*target);
    if (file.fd() < 0 && !file.missing()) {
        change.outcome = Outcome::Unreadable;
        return change;
    }
    if (isWriteProtected(*target)) {
        change.outcome = Outcome::Unwritable;
        return change;
    }

    AtomicFile out(*target);
    bool changed = false;
    bool damaged = false;
    std::size_t next = 0;
    std::uint64_t written = 0;
    std::string largest;
    auto put = [&](const FactorialRecord& record) {
        writeRecord(out, record, written++ == 0);
        largest = record.key;
    };
    std::optional<RecordReader> reader;
    if (file.fd() >= 0) reader.emplace(file.fd());
    FactorialRecord current;
    while (reader) {
        const RecordReader::Next read = reader->next(current, true);
        if (read == RecordReader::Next::Failed) {
            change.outcome = Outcome::Unreadable;
            return change;
        }
        if (read != RecordReader::Next::Record) {
            damaged = read == RecordReader::Next::Damage;
            break;
        }
        for (; next < incoming.size() && keyLess(incoming[next].key, current.key); ++next) {
            put(incoming[next]);
            changed = true;
        }
        if (next < incoming.size() && incoming[next].key == current.key) {
            changed = changed || incoming[next].value != current.value;
            put(incoming[next++]);
        } else {
            put(current);
        }
    }
    for (; next < incoming.size(); ++next) {
        put(incoming[next]);
        changed = true;
    }
    if (!changed) {
        change.largest = std::move(largest);
        return change; // Unchanged; the new file goes unused
    }

    if (damaged) {
        AtomicFile backup(backupPath());
        if (!reader->copyTo(backup) || !backup.commit()) {
            change.outcome = Outcome::Unwritable;
            return change;
        }
        change.backup = backupPath();
    }
    if (!out.commit()) {
        change.outcome = Outcome::Unwritable;
        change.backup.clear();
        return change;
    }
    change.outcome = Outcome::Written;
    change.largest = std::move(largest);
    return change;
}

std::vector<StoreNotice> FactorialStore::notices(const Change& change) const {
    using Outcome = Change::Outcome;
    using Kind = StoreNotice::Kind;
    switch (change.outcome) {
    case Outcome::Written:
        if (change.backup.empty()) return {};
        return {{Kind::Cut, path_, change.backup}};
    case Outcome::Unchanged:
        return {};
    case Outcome::Unreadable:
        return {{Kind::Unreadable, path_, {}}};
    case Outcome::Unwritable:
        return {{Kind::Unwritable, path_, {}}};
    case Outcome::Busy:
        return {{Kind::Busy, path_, {}}};
    }
    return {};
}

} // namespace longhand
