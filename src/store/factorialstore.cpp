#include "factorialstore.h"

#include "engine/rangeproduct.h"
#include "factorialproof.h"
#include "filestore.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
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
    std::uint64_t n = 0;
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
    shape.n = n;
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

// A stretch of the store's bytes, from `begin` up to `end`.
struct ByteSpan {
    off_t begin = 0;
    off_t end = 0;
};

// Reads the records of a store one line at a time, checking each: its form,
// its place in the order (above the last valid key), its shape as a
// factorial and, last, its proof against n!. A line that fails is damage:
// the reader notes its bytes and goes on with the next line, so that valid
// records after it are read as before. Blank lines are passed over.
class RecordReader {
  public:
    enum class Next { Record, End, Damage, Failed };

    // `progress`, when given, stops the reading (as Failed, with
    // cancelled() true) and hears the share of the file read.
    explicit RecordReader(int fd, Progress* progress = nullptr)
        : fd_(fd), progress_(progress), buffer_(kReadChunkBytes) {
        struct stat st {};
        if (progress_ && ::fstat(fd_, &st) == 0 && st.st_size > 0) size_ = st.st_size;
    }

    // The next valid record into `into`; its value only with keepValue.
    // End: only line ends remain; Damage: the line damage() spans (with any
    // blank lines after it) is no valid record, and the reader stands after
    // it; Failed: the file cannot be read.
    Next next(FactorialRecord& into, bool keepValue) {
        for (;;) {
            const int c = peek();
            if (c < 0) return failed_ ? Next::Failed : Next::End;
            const off_t begin = offset();
            bool valid = false;
            if (c == '\r' || c == '\n') {
                if (lineEnd()) continue; // a blank line
            } else {
                valid = record(into, keepValue);
            }
            if (failed_) return Next::Failed;
            if (valid) {
                lastKey_ = into.key;
                ++count_;
                return Next::Record;
            }
            skipLine();
            // Blank lines after damage go with it.
            for (int d = peek(); d == '\r' || d == '\n'; d = peek())
                if (!lineEnd()) skipLine();
            if (failed_) return Next::Failed;
            damage_ = {begin, offset()};
            return Next::Damage;
        }
    }

    const ByteSpan& damage() const { return damage_; }
    std::uint64_t count() const { return count_; }
    bool cancelled() const { return cancelled_; }

  private:
    off_t offset() const { return bufferAt_ + static_cast<off_t>(pos_); }

    int peek() {
        if (pos_ == end_ && !fill()) return -1;
        return static_cast<unsigned char>(buffer_[pos_]);
    }
    bool fill() {
        if (eof_ || failed_) return false;
        if (progress_) {
            if (progress_->cancelled()) {
                cancelled_ = failed_ = true;
                return false;
            }
            if (size_ > 0)
                progress_->report(static_cast<double>(bufferAt_ + static_cast<off_t>(end_)) /
                                  static_cast<double>(size_));
        }
        for (;;) {
            const ssize_t n = ::read(fd_, buffer_.data(), buffer_.size());
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) failed_ = true;
            if (n == 0) eof_ = true;
            if (n <= 0) return false;
            bufferAt_ += static_cast<off_t>(end_);
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

    // A line end here (LF, CR LF, or a CR or nothing at the end of the
    // file) is taken, and true. False otherwise: a CR may have been taken,
    // still inside the line.
    bool lineEnd() {
        if (take('\n')) return true;
        if (take('\r')) return take('\n') || peek() < 0;
        return peek() < 0;
    }

    // Up to and past the next LF, or to the end of the file.
    void skipLine() {
        while (peek() >= 0) {
            const char* from = buffer_.data() + pos_;
            const void* lf = std::memchr(from, '\n', end_ - pos_);
            if (lf) {
                pos_ += static_cast<std::size_t>(static_cast<const char*>(lf) - from) + 1;
                return;
            }
            pos_ = end_;
        }
    }

    // Digits from here on, at most `limit` kept (one more is read, so that
    // a longer run shows); the first digit and the trailing zeros noted,
    // and the digits fed to `residues` where given.
    std::uint64_t digits(std::string* out, std::uint64_t limit, DigitResidues* residues) {
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
            const std::string_view piece(buffer_.data() + from, to - from);
            if (out) out->append(piece);
            if (residues) residues->add(piece);
            count += to - from;
            pos_ = to;
            if (to < end_) break;
        }
        return count;
    }

    // One record `n,"n!"` and its line end, proven; false when the line
    // holds anything else, stopping inside the line.
    bool record(FactorialRecord& into, bool keepValue) {
        into.key.clear();
        into.value.clear();
        const std::uint64_t keyDigits = digits(&into.key, kMaxFacKeyDigits, nullptr);
        if (keyDigits == 0 || keyDigits > kMaxFacKeyDigits || first_ == '0') return false;
        if (count_ > 0 && !keyLess(lastKey_, into.key)) return false;
        if (!take(',') || !take('"')) return false;
        // No factorial longer than the longest product is ever stored.
        const FactorialShape shape = shapeOf(into.key);
        if (shape.low > static_cast<std::uint64_t>(kMaxProductDigits)) return false;
        DigitResidues residues;
        const std::uint64_t valueDigits =
            digits(keepValue ? &into.value : nullptr, shape.high, &residues);
        if (valueDigits < shape.low || valueDigits > shape.high || first_ == '0' ||
            zeros_ != shape.zeros)
            return false;
        if (!take('"')) return false;
        if (residues.residues() != factorials_.at(shape.n)) return false;
        return lineEnd();
    }

    int fd_;
    Progress* progress_;
    off_t size_ = 0;
    std::vector<char> buffer_;
    off_t bufferAt_ = 0; // where buffer_[0] stands in the file
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    bool failed_ = false;
    bool cancelled_ = false;
    std::uint64_t count_ = 0;
    std::string lastKey_;
    std::uint64_t zeros_ = 0;
    int first_ = -1;
    FactorialResidues factorials_;
    ByteSpan damage_;
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
    // Where the byte previous() gave last stands in the file.
    off_t position() const { return unread_ + static_cast<off_t>(held_); }

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

// Copies the bytes from `from` up to `to` of the file `fd` into `out`,
// noting the last byte copied.
bool copySpan(int fd, off_t from, off_t to, AtomicFile& out, int& last) {
    std::vector<char> buffer(kReadChunkBytes);
    while (from < to) {
        const std::size_t want =
            static_cast<std::size_t>(std::min<off_t>(to - from, static_cast<off_t>(buffer.size())));
        const ssize_t n = ::pread(fd, buffer.data(), want, from);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out.write(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        last = static_cast<unsigned char>(buffer[static_cast<std::size_t>(n) - 1]);
        from += n;
    }
    return out.ok();
}

// The whole of the file `fd`.
bool copyFile(int fd, AtomicFile& out, int& last) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    return copySpan(fd, 0, st.st_size, out, last);
}

// The backup is replaced as the store is, never half-written: its old bytes
// first, then each cut on a line of its own.
bool appendToBackup(const std::string& backup, int storeFd, const std::vector<ByteSpan>& cuts) {
    if (isWriteProtected(backup)) return false;
    AtomicFile out(backup);
    int last = -1;
    const OpenFile old(backup);
    if (old.fd() < 0 && !old.missing()) return false;
    if (old.fd() >= 0 && !copyFile(old.fd(), out, last)) return false;
    for (const ByteSpan& cut : cuts) {
        if (last >= 0 && last != '\n') out.write(kRecordSeparator);
        if (!copySpan(storeFd, cut.begin, cut.end, out, last)) return false;
    }
    return out.commit();
}

} // namespace

bool keyLess(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

FactorialStore::FactorialStore(std::string path, std::chrono::milliseconds lockWait)
    : path_(std::move(path)), lockWait_(lockWait) {}

FactorialStore::Lookup FactorialStore::lookup(std::string_view n, Progress* progress) const {
    Lookup found;
    found.record = firstRecord();
    const OpenFile file(path_);
    if (file.fd() < 0) {
        found.state = file.missing() ? State::Empty : State::Unreadable;
    } else {
        RecordReader reader(file.fd(), progress);
        FactorialRecord current;
        for (;;) {
            const RecordReader::Next next = reader.next(current, true);
            if (next == RecordReader::Next::Damage) {
                found.damaged = true;
                continue;
            }
            if (next == RecordReader::Next::Record) {
                if (current.key == n) {
                    found.place = Lookup::Place::Stored;
                    found.record = std::move(current);
                    return found;
                }
                if (keyLess(n, current.key)) {
                    // 1! is every store's first record, whether the file has
                    // it yet or not.
                    if (n == "1") {
                        found.place = Lookup::Place::Stored;
                        return found;
                    }
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
                found.state = found.damaged ? State::Damaged : State::Empty;
            }
            break;
        }
    }
    // Without a valid record the store counts as `1,"1"`.
    if (found.state != State::Ok && n == "1") found.place = Lookup::Place::Stored;
    return found;
}

std::string FactorialStore::largestKey(Progress* progress) const {
    const OpenFile file(path_);
    if (file.fd() < 0) return {};
    RecordReader reader(file.fd(), progress);
    FactorialRecord current;
    std::string largest;
    for (;;) {
        const RecordReader::Next next = reader.next(current, false);
        if (next == RecordReader::Next::Failed) return {};
        if (next == RecordReader::Next::End) return largest;
        if (next == RecordReader::Next::Record) largest = std::move(current.key);
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
    const off_t valueEnd = back.position();
    std::uint64_t digits = 0, zeros = 0;
    int first = -1;
    for (c = back.previous(); isDigit(c); c = back.previous()) {
        if (digits == zeros && c == '0') ++zeros;
        first = c;
        ++digits;
    }
    if (c != '"') return {};
    const off_t valueBegin = back.position() + 1;
    if (back.previous() != ',') return {};
    std::string key;
    for (c = back.previous(); isDigit(c) && key.size() <= kMaxFacKeyDigits; c = back.previous())
        key.insert(key.begin(), static_cast<char>(c));
    if (key.empty() || key.size() > kMaxFacKeyDigits || key[0] == '0') return {};
    if (c != '\n' && c >= 0) return {};
    const FactorialShape shape = shapeOf(key);
    if (digits < shape.low || digits > shape.high || zeros != shape.zeros || first == '0')
        return {};
    // The proof reads the value once more, forwards.
    DigitResidues residues;
    std::vector<char> buffer(kReadChunkBytes);
    for (off_t at = valueBegin; at < valueEnd;) {
        const std::size_t want = static_cast<std::size_t>(
            std::min<off_t>(valueEnd - at, static_cast<off_t>(buffer.size())));
        const ssize_t n = ::pread(file.fd(), buffer.data(), want, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return {};
        residues.add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
        at += n;
    }
    FactorialResidues factorials;
    if (residues.residues() != factorials.at(shape.n)) return {};
    return key;
}

std::string FactorialStore::currentLargestKey(std::string_view remembered, std::string_view reached,
                                              Progress* progress) const {
    const bool plausible =
        !remembered.empty() && remembered[0] != '0' && remembered.size() <= kMaxFacKeyDigits &&
        std::all_of(remembered.begin(), remembered.end(), [](char c) { return isDigit(c); }) &&
        !keyLess(remembered, reached);
    if (plausible) {
        const std::string last = lastKey();
        if (last == remembered || last.empty()) return std::string(remembered);
    }
    return largestKey(progress);
}

FactorialStore::Change FactorialStore::create(Progress* progress) {
    return merge({}, progress);
}

FactorialStore::Change FactorialStore::insert(std::string_view n, std::string_view factorial,
                                              Progress* progress) {
    return merge({{std::string(n), std::string(factorial)}}, progress);
}

FactorialStore::Change FactorialStore::append(std::string_view n, std::string_view factorial,
                                              Progress* progress) {
    return merge({{std::string(n), std::string(factorial)}}, progress);
}

FactorialStore::Change FactorialStore::storeTable(const std::vector<std::string>& factorials,
                                                  Progress* progress) {
    std::vector<FactorialRecord> records;
    records.reserve(factorials.size());
    for (std::size_t i = 0; i < factorials.size(); ++i)
        records.push_back({std::to_string(i + 1), factorials[i]});
    return merge(std::move(records), progress);
}

// Writes the valid records of the file as it is now merged with `incoming`
// (ascending keys; an incoming record replaces a stored one with its key),
// with `1,"1"` first, when that changes any record or there is damage to
// cut. The damaged lines are added to the end of the backup first, so that
// they are kept before they leave the store.
FactorialStore::Change FactorialStore::merge(std::vector<FactorialRecord> incoming,
                                             Progress* progress) {
    using Outcome = Change::Outcome;
    Change change;
    if (incoming.empty() || incoming.front().key != "1")
        incoming.insert(incoming.begin(), firstRecord());

    const std::optional<std::string> target = linkTarget(path_);
    if (!target) {
        change.outcome = Outcome::Unreadable;
        return change;
    }
    // Tells the listener once when the wait begins, and stops it on Cancel.
    struct Watch final : LockWaitWatch {
        Watch(const std::function<void(bool)>& notice, Progress* progress)
            : notice(notice), progress(progress) {}
        bool goOn() override {
            if (!told && notice) notice(true);
            told = true;
            return !(progress && progress->cancelled());
        }
        const std::function<void(bool)>& notice;
        Progress* progress;
        bool told = false;
    } watch(lockWaitNotice_, progress);
    const FileLock lock(*target + std::string(kFacLockSuffix), lockWait_, &watch);
    if (watch.told && lockWaitNotice_) lockWaitNotice_(false);
    if (lock.status() != FileLock::Status::Held) {
        change.outcome = lock.status() == FileLock::Status::Busy        ? Outcome::Busy
                         : lock.status() == FileLock::Status::Cancelled ? Outcome::Cancelled
                                                                        : Outcome::Unwritable;
        return change;
    }
    removeLeftoverNewFiles(*target);
    const std::optional<std::string> backupTarget = linkTarget(backupPath());
    if (backupTarget) removeLeftoverNewFiles(*backupTarget);

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
    std::vector<ByteSpan> cuts;
    std::size_t next = 0;
    std::uint64_t written = 0;
    std::string largest;
    auto put = [&](const FactorialRecord& record) {
        writeRecord(out, record, written++ == 0);
        largest = record.key;
    };
    std::optional<RecordReader> reader;
    if (file.fd() >= 0) reader.emplace(file.fd(), progress);
    FactorialRecord current;
    while (reader) {
        const RecordReader::Next read = reader->next(current, true);
        if (read == RecordReader::Next::Failed) {
            change.outcome = reader->cancelled() ? Outcome::Cancelled : Outcome::Unreadable;
            return change;
        }
        if (read == RecordReader::Next::End) break;
        if (read == RecordReader::Next::Damage) {
            const ByteSpan& span = reader->damage();
            if (!cuts.empty() && cuts.back().end == span.begin)
                cuts.back().end = span.end;
            else
                cuts.push_back(span);
            continue;
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
    if (!changed && cuts.empty()) {
        change.largest = std::move(largest);
        return change; // Unchanged; the new file goes unused
    }
    if (progress && progress->cancelled()) {
        change.outcome = Outcome::Cancelled;
        return change;
    }

    if (!cuts.empty()) {
        if (!backupTarget || !appendToBackup(*backupTarget, file.fd(), cuts)) {
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
    case Outcome::Cancelled:
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
