#include "history.h"

#include "store/filestore.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace longhand {

namespace {

namespace fs = std::filesystem;

// The first line of every log: the tag, then a random id that a rewrite
// changes, so that a reader can tell an appended log from a replaced one.
constexpr std::string_view kHeaderTag = "#longhand-history ";
// Every entry line starts with this tag (the line format's version).
constexpr std::string_view kEntryTag = "H1";
// Fields of an entry line before its checksum: the tag, number, time,
// source, note, exact, length, value checksum, file, text.
constexpr std::size_t kEntryFields = 10;
// The tail of the log read at a time when looking for the last entry.
constexpr std::size_t kTailChunk = std::size_t{1} << 18;
// The most of the log's tail read at once when looking for the last entry.
constexpr std::size_t kMaxTail = std::size_t{1} << 26;
// The log is read this much at a time.
constexpr std::size_t kReadPiece = std::size_t{1} << 20;
// No entry line is longer: the value and its fraction in the log, each at
// most kHistoryInlineDigits, with room for the source and the note.
constexpr std::size_t kMaxLineBytes = 8 * kHistoryInlineDigits;

// CRC-32 eight bytes a step: tables[k][b] is the CRC of byte b followed by
// k zero bytes, so the eight bytes of a step are looked up side by side
// instead of one after the other (several times faster on a long value).
const std::array<std::array<std::uint32_t, 256>, 8>& crcTables() {
    static const std::array<std::array<std::uint32_t, 256>, 8> tables = [] {
        std::array<std::array<std::uint32_t, 256>, 8> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[0][i] = c;
        }
        for (std::size_t k = 1; k < 8; ++k)
            for (std::size_t i = 0; i < 256; ++i)
                t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
        return t;
    }();
    return tables;
}

std::string hex8(std::uint32_t v) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string s(8, '0');
    for (int i = 7; i >= 0; --i, v >>= 4)
        s[static_cast<std::size_t>(i)] = digits[v & 15];
    return s;
}

std::uint32_t randomWord() {
    std::random_device device;
    return device();
}

// A log's first line, with a fresh id (never 0, which stands for none).
std::string headerLine() {
    return std::string(kHeaderTag) + hex8(randomWord() | 1) + hex8(randomWord()) + "\n";
}

// Tabs, line ends and backslashes written so that a field stays on its line.
std::string escape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::optional<std::string> unescape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) return std::nullopt;
        switch (text[i]) {
        case '\\':
            out += '\\';
            break;
        case 't':
            out += '\t';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        default:
            return std::nullopt;
        }
    }
    return out;
}

template <class Int> std::optional<Int> parseInt(std::string_view text, int base = 10) {
    Int value{};
    if (text.empty() || text.size() > 20) return std::nullopt;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// A value file's name is ours: digits, letters, "-" and ".", never a path.
bool isValueFileName(std::string_view name) {
    if (name.empty() || name.size() > 64 || name.front() == '.') return false;
    return std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '-' || c == '.';
    });
}

std::string entryLine(const HistoryEntry& e) {
    std::string line;
    line.reserve(e.text.size() + e.source.size() + e.note.size() + 96);
    line += kEntryTag;
    for (const std::string& field :
         {std::to_string(e.number), std::to_string(e.time), escape(e.source), escape(e.note),
          escape(e.exact), std::to_string(e.length), hex8(e.check), e.file, escape(e.text)}) {
        line += '\t';
        line += field;
    }
    const std::uint32_t sum = historyChecksum(line);
    line += '\t';
    line += hex8(sum);
    line += '\n';
    return line;
}

// The entry a line (without its line end) holds, when it reads whole.
std::optional<HistoryEntry> parseLine(std::string_view line) {
    const std::size_t last = line.rfind('\t');
    if (last == std::string_view::npos || line.size() - last - 1 != 8) return std::nullopt;
    const std::string_view body = line.substr(0, last);
    const auto sum = parseInt<std::uint32_t>(line.substr(last + 1), 16);
    if (!sum || *sum != historyChecksum(body)) return std::nullopt;

    std::array<std::string_view, kEntryFields> f;
    std::size_t at = 0;
    for (std::size_t i = 0; i < kEntryFields; ++i) {
        const std::size_t tab = i + 1 < kEntryFields ? body.find('\t', at) : body.size();
        if (tab == std::string_view::npos) return std::nullopt;
        f[i] = body.substr(at, tab - at);
        at = tab + 1;
    }
    if (at != body.size() + 1 || f[0] != kEntryTag) return std::nullopt;

    HistoryEntry e;
    const auto number = parseInt<std::int64_t>(f[1]);
    const auto time = parseInt<std::int64_t>(f[2]);
    auto source = unescape(f[3]);
    auto note = unescape(f[4]);
    auto exact = unescape(f[5]);
    const auto length = parseInt<std::uint64_t>(f[6]);
    const auto check = f[7].size() == 8 ? parseInt<std::uint32_t>(f[7], 16) : std::nullopt;
    auto text = unescape(f[9]);
    if (!number || *number < 1 || !time || !source || !note || !exact || !length || !check || !text)
        return std::nullopt;
    e.number = *number;
    e.time = *time;
    e.source = std::move(*source);
    e.note = std::move(*note);
    e.exact = std::move(*exact);
    e.length = *length;
    e.check = *check;
    e.file = std::string(f[8]);
    e.text = std::move(*text);
    if (e.inLog()) {
        if (e.text.size() != e.length || historyChecksum(e.text) != e.check) return std::nullopt;
    } else if (!isValueFileName(e.file) ||
               e.text.size() != std::min<std::uint64_t>(e.length, kHistoryPreviewChars)) {
        return std::nullopt;
    }
    return e;
}

std::uint64_t headerId(std::string_view start) {
    if (start.substr(0, kHeaderTag.size()) != kHeaderTag) return 0;
    const std::size_t end = start.find('\n');
    if (end == std::string_view::npos) return 0;
    const std::string_view hex = start.substr(kHeaderTag.size(), end - kHeaderTag.size());
    return parseInt<std::uint64_t>(hex, 16).value_or(0);
}

bool preadAll(int fd, char* out, std::size_t count, std::uint64_t offset) {
    while (count > 0) {
        const ssize_t n = ::pread(fd, out, count, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        out += n;
        count -= static_cast<std::size_t>(n);
        offset += static_cast<std::uint64_t>(n);
    }
    return true;
}

bool writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The log opened for reading: its size and its header's id.
struct LogFile {
    explicit LogFile(const std::string& path) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            readable = errno == ENOENT;
            return;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0) {
            readable = false;
            return;
        }
        size = static_cast<std::uint64_t>(st.st_size);
        char head[64];
        const auto headSize = static_cast<std::size_t>(std::min<std::uint64_t>(64, size));
        if (headSize > 0 && preadAll(fd, head, headSize, 0))
            id = headerId(std::string_view(head, headSize));
    }
    ~LogFile() {
        if (fd >= 0) ::close(fd);
    }
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    int fd = -1;
    bool readable = true;
    std::uint64_t id = 0;
    std::uint64_t size = 0;
};

void parseOneLine(std::string_view line, HistorySnapshot& snapshot) {
    if (line.empty() || line.substr(0, kHeaderTag.size()) == kHeaderTag) return;
    if (std::optional<HistoryEntry> e = parseLine(line))
        snapshot.entries.push_back(std::move(*e));
    else
        ++snapshot.damaged;
}

// Parses the lines of the log from `from` to `size` into `snapshot`, a
// piece at a time, so that a damaged log of any size takes no more memory
// than its entries: a line longer than any entry can be is passed over.
// Returns the offset after the last line end, or nothing when the log
// cannot be read.
std::optional<std::uint64_t> parseLog(int fd, std::uint64_t from, std::uint64_t size,
                                      HistorySnapshot& snapshot) {
    std::string piece(kReadPiece, '\0');
    std::string carry; // the start of a line that goes on in the next piece
    bool overlong = false;
    std::uint64_t consumed = from;
    for (std::uint64_t at = from; at < size;) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(kReadPiece, size - at));
        if (!preadAll(fd, piece.data(), n, at)) return std::nullopt;
        const std::string_view view(piece.data(), n);
        for (std::size_t pos = 0;;) {
            const std::size_t end = view.find('\n', pos);
            const std::string_view part =
                view.substr(pos, end == std::string_view::npos ? n - pos : end - pos);
            if (!overlong) carry.append(part);
            if (carry.size() > kMaxLineBytes) {
                carry.clear();
                overlong = true;
            }
            if (end == std::string_view::npos) break;
            if (overlong)
                ++snapshot.damaged;
            else
                parseOneLine(carry, snapshot);
            carry.clear();
            overlong = false;
            pos = end + 1;
            consumed = at + pos;
        }
        at += n;
    }
    return consumed;
}

// The number of the log's last entry that reads whole, 0 when none.
std::int64_t lastNumber(int fd, std::uint64_t size) {
    for (std::size_t chunk = kTailChunk; chunk <= kMaxTail; chunk *= 4) {
        const std::uint64_t from = size > chunk ? size - chunk : 0;
        std::string bytes(static_cast<std::size_t>(size - from), '\0');
        if (!preadAll(fd, bytes.data(), bytes.size(), from)) return 0;
        std::string_view view(bytes);
        // Only lines that start inside the chunk are whole.
        if (from > 0) {
            const std::size_t first = view.find('\n');
            view.remove_prefix(first == std::string_view::npos ? view.size() : first + 1);
        }
        std::size_t end = view.size();
        while (end > 0) {
            const std::size_t start = view.rfind('\n', end - 1);
            const std::size_t lineStart = start == std::string_view::npos ? 0 : start + 1;
            if (std::optional<HistoryEntry> e = parseLine(view.substr(lineStart, end - lineStart)))
                return e->number;
            if (start == std::string_view::npos) break;
            end = start;
        }
        if (from == 0) return 0;
    }
    // A tail that long without a whole entry: the largest number anywhere.
    HistorySnapshot all;
    parseLog(fd, 0, size, all);
    std::int64_t largest = 0;
    for (const HistoryEntry& e : all.entries)
        largest = std::max(largest, e.number);
    return largest;
}

std::uint64_t fileSize(const fs::path& path) {
    std::error_code ec;
    const std::uintmax_t size = fs::file_size(path, ec);
    return ec ? 0 : static_cast<std::uint64_t>(size);
}

} // namespace

std::uint32_t historyChecksum(std::string_view bytes) {
    const auto& t = crcTables();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t n = bytes.size();
    // Four bytes as the little-endian word the tables expect, on any machine.
    const auto word = [](const unsigned char* q) {
        return static_cast<std::uint32_t>(q[0]) | static_cast<std::uint32_t>(q[1]) << 8 |
               static_cast<std::uint32_t>(q[2]) << 16 | static_cast<std::uint32_t>(q[3]) << 24;
    };
    std::uint32_t c = 0xFFFFFFFFu;
    for (; n >= 8; p += 8, n -= 8) {
        const std::uint32_t lo = word(p) ^ c, hi = word(p + 4);
        c = t[7][lo & 0xFF] ^ t[6][(lo >> 8) & 0xFF] ^ t[5][(lo >> 16) & 0xFF] ^ t[4][lo >> 24] ^
            t[3][hi & 0xFF] ^ t[2][(hi >> 8) & 0xFF] ^ t[1][(hi >> 16) & 0xFF] ^ t[0][hi >> 24];
    }
    for (; n > 0; ++p, --n)
        c = t[0][(c ^ *p) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::int64_t historyNow() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

HistoryStore::HistoryStore(std::string folder, std::uint64_t limitBytes,
                           std::chrono::milliseconds lockWait)
    : folder_(std::move(folder)), limit_(limitBytes), lockWait_(lockWait) {}

std::string HistoryStore::logPath() const {
    return folder_ + "/" + kHistoryFileName;
}

std::string HistoryStore::valuesPath() const {
    return folder_ + "/" + kHistoryValuesFolder;
}

HistorySnapshot HistoryStore::read() const {
    HistorySnapshot snapshot;
    refresh(snapshot);
    return snapshot;
}

void HistoryStore::refresh(HistorySnapshot& snapshot) const {
    const LogFile log(logPath());
    // A new log (or none): everything again.
    if (log.fd < 0 || log.id != snapshot.fileId || log.size < snapshot.end)
        snapshot = HistorySnapshot{};
    snapshot.fileId = log.id;
    snapshot.unreadable = !log.readable;
    if (log.fd < 0 || !log.readable) return;
    const std::optional<std::uint64_t> end = parseLog(log.fd, snapshot.end, log.size, snapshot);
    if (end)
        snapshot.end = *end;
    else
        snapshot.unreadable = true;
}

std::uint64_t HistoryStore::usedBytes() const {
    std::uint64_t used = fileSize(logPath());
    std::error_code ec;
    for (fs::directory_iterator it(valuesPath(), ec), end; !ec && it != end; it.increment(ec))
        used += fileSize(it->path());
    return used;
}

HistoryStore::Appended HistoryStore::append(const std::vector<HistoryRecord>& records,
                                            std::int64_t time) {
    Appended done;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    FileLock lock(logPath() + std::string(kHistoryLockSuffix), lockWait_);
    if (lock.status() != FileLock::Status::Held) {
        done.outcome =
            lock.status() == FileLock::Status::Busy ? Outcome::Busy : Outcome::Unwritable;
        return done;
    }
    const int fd = ::open(logPath().c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0) ::close(fd);
        done.outcome = Outcome::Unwritable;
        return done;
    }
    const auto size = static_cast<std::uint64_t>(st.st_size);
    std::string bytes;
    if (size == 0) {
        bytes = headerLine();
    } else {
        // A line that a crash cut short stays on a line of its own.
        char lastByte = '\n';
        if (preadAll(fd, &lastByte, 1, size - 1) && lastByte != '\n') bytes += '\n';
    }

    std::int64_t number = size == 0 ? 0 : lastNumber(fd, size);
    std::vector<std::string> written; // value files, removed again on failure
    bool ok = true;
    for (const HistoryRecord& record : records) {
        HistoryEntry e;
        e.number = ++number;
        e.time = time;
        e.source = record.source;
        e.note = record.note;
        if (record.exact.size() <= kHistoryInlineDigits) e.exact = record.exact;
        e.length = record.value.size();
        e.check = historyChecksum(record.value);
        if (record.value.size() > kHistoryInlineDigits) {
            fs::create_directories(valuesPath(), ec);
            e.file = std::to_string(e.number) + "-" + hex8(randomWord()) + ".txt";
            const std::string path = valuesPath() + "/" + e.file;
            if (!replaceFileAtomically(path, record.value)) {
                ok = false;
                break;
            }
            written.push_back(path);
            e.text = record.value.substr(0, kHistoryPreviewChars);
        } else {
            e.text = record.value;
        }
        bytes += entryLine(e);
        done.entries.push_back(std::move(e));
    }
    ok = ok && writeAll(fd, bytes) && ::fdatasync(fd) == 0;
    if (!ok) {
        // What did get written is taken back, so no half line stays.
        if (::ftruncate(fd, static_cast<off_t>(size)) == 0) ::fdatasync(fd);
        for (const std::string& path : written)
            ::unlink(path.c_str());
        ::close(fd);
        done.entries.clear();
        done.outcome = Outcome::Unwritable;
        return done;
    }
    ::close(fd);
    if (limit_ > 0 && usedBytes() > limit_) trim(done.dropped);
    return done;
}

// Under the lock: drops the oldest entries (and damaged lines) until the
// history takes at most the limit less a tenth; the newest entry always
// stays. Value files that no entry names go too.
void HistoryStore::trim(std::size_t& dropped) {
    const std::optional<std::string> bytes = readWholeFile(logPath());
    if (!bytes) return;
    struct Line {
        std::string_view text; // with its line end
        std::string file;
        std::uint64_t cost;
    };
    std::vector<Line> lines;
    std::size_t damaged = 0;
    std::uint64_t total = 0;
    const std::string_view all(*bytes);
    for (std::size_t at = 0; at < all.size();) {
        std::size_t end = all.find('\n', at);
        end = end == std::string_view::npos ? all.size() : end + 1;
        const std::string_view line = all.substr(at, end - at);
        at = end;
        if (line.substr(0, kHeaderTag.size()) == kHeaderTag || line == "\n") continue;
        std::string_view body = line;
        if (!body.empty() && body.back() == '\n') body.remove_suffix(1);
        std::optional<HistoryEntry> e = parseLine(body);
        if (!e) {
            ++damaged;
            continue;
        }
        Line kept{line, e->file, line.size()};
        if (!e->inLog()) kept.cost += fileSize(valuesPath() + "/" + e->file);
        total += kept.cost;
        lines.push_back(std::move(kept));
    }
    const std::uint64_t target = limit_ - limit_ / kHistoryTrimDivisor;
    std::size_t first = 0;
    while (first + 1 < lines.size() && total > target)
        total -= lines[first++].cost;
    dropped = first;

    if (damaged > 0 &&
        !replaceFileAtomically(logPath() + std::string(kHistoryBackupSuffix), *bytes))
        return;
    std::string rewritten = headerLine();
    std::vector<std::string> keepFiles;
    for (std::size_t i = first; i < lines.size(); ++i) {
        rewritten += lines[i].text;
        if (!lines[i].file.empty()) keepFiles.push_back(lines[i].file);
    }
    if (!replaceFileAtomically(logPath(), rewritten)) return;
    std::sort(keepFiles.begin(), keepFiles.end());
    std::error_code ec;
    for (fs::directory_iterator it(valuesPath(), ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!std::binary_search(keepFiles.begin(), keepFiles.end(), name))
            ::unlink(it->path().c_str());
    }
}

HistoryStore::Outcome HistoryStore::clear() {
    FileLock lock(logPath() + std::string(kHistoryLockSuffix), lockWait_);
    if (lock.status() != FileLock::Status::Held)
        return lock.status() == FileLock::Status::Busy ? Outcome::Busy : Outcome::Unwritable;
    std::error_code ec;
    if (fs::exists(logPath(), ec) && !replaceFileAtomically(logPath(), headerLine()))
        return Outcome::Unwritable;
    for (fs::directory_iterator it(valuesPath(), ec), end; !ec && it != end; it.increment(ec))
        ::unlink(it->path().c_str());
    return Outcome::Written;
}

std::optional<std::string> HistoryStore::value(const HistoryEntry& entry) const {
    if (entry.inLog()) return entry.text;
    if (!isValueFileName(entry.file)) return std::nullopt;
    const std::string path = valuesPath() + "/" + entry.file;
    if (fileSize(path) != entry.length) return std::nullopt;
    std::optional<std::string> text = readWholeFile(path);
    if (!text || text->size() != entry.length || historyChecksum(*text) != entry.check)
        return std::nullopt;
    return text;
}

} // namespace longhand
