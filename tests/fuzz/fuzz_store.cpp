// libFuzzer target: the factorial store's reader and merger on any bytes.
// A store file of fuzzed bytes (with true records, records with a digit
// changed and stray bytes mixed in) is looked up and written once. The
// oracle reads the old file line by line: a line is valid when it is a true
// record (its value GMP's n!) above the last valid key; every other
// non-blank line is damage. Then
//   - a lookup gives the largest valid n! at most n, exactly GMP's;
//   - a write that succeeds leaves a store in the exact format: `1,"1"`
//     first, records in ascending order separated by CR LF, none after the
//     last, each one GMP's n!;
//   - it holds every valid record of the old file and what was written, and
//     nothing else;
//   - the backup keeps what it held in front, and the damaged lines were
//     added after it when a cut was made; it is untouched otherwise.
//
// Input layout: byte 0 picks the operation, byte 1 its n, byte 2 whether a
// backup is there already; the rest builds the file (see fileFrom).
#include "fuzz_files.h"
#include "store/factorialstore.h"
#include "support/gmp.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using longhand::FactorialStore;
using longhand::fuzz::fail;
using longhand::fuzz::fileBytes;
using longhand::fuzz::putFile;

constexpr unsigned kMaxN = 120;

const std::string& factorial(unsigned n) {
    static const std::vector<std::string> table = [] {
        std::vector<std::string> t(kMaxN + 1);
        for (unsigned k = 0; k <= kMaxN; ++k)
            t[k] = longhand::test::gmpFactorial(k);
        return t;
    }();
    return table[n];
}

std::string recordOf(unsigned n) {
    return std::to_string(n) + ",\"" + factorial(n) + "\"";
}

const std::string& folder() {
    static const std::string path = longhand::fuzz::scratchFolder("store");
    return path;
}

// Bytes below 0xE0 stand for themselves. 0xE0 to 0xEF followed by k give
// the true record of (k mod kMaxN) + 1, after a CR LF for 0xE0 to 0xE7;
// 0xF0 to 0xFF followed by k and d the same record with its d-th value
// digit changed (the digit after it, wrapping around).
std::string fileFrom(const std::uint8_t* data, std::size_t size) {
    std::string out;
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t b = data[i];
        if (b < 0xE0 || i + 1 >= size) {
            out += static_cast<char>(b);
            continue;
        }
        const unsigned n = data[++i] % kMaxN + 1;
        std::string record = recordOf(n);
        if (b >= 0xF0) {
            const std::size_t value = record.find('"') + 1;
            const std::size_t digits = record.size() - value - 1;
            const std::size_t at = value + (i + 1 < size ? data[++i] : 0) % digits;
            record[at] = static_cast<char>('0' + (record[at] - '0' + 1) % 10);
        } else if (b < 0xE8) {
            out += "\r\n";
        }
        out += record;
    }
    return out;
}

// A true record: `n,"n!"` with n from 1 to kMaxN written without leading
// zeros; its n, or 0.
unsigned trueRecord(std::string_view line) {
    const std::size_t comma = line.find(",\"");
    if (comma == std::string_view::npos || comma == 0 || comma > 3 || line.back() != '"' ||
        line.size() < comma + 3)
        return 0;
    unsigned n = 0;
    for (std::size_t i = 0; i < comma; ++i) {
        if (line[i] < '0' || line[i] > '9' || (i == 0 && line[i] == '0')) return 0;
        n = n * 10 + static_cast<unsigned>(line[i] - '0');
    }
    if (n < 1 || n > kMaxN) return 0;
    return line.substr(comma + 2, line.size() - comma - 3) == factorial(n) ? n : 0;
}

// The lines of a file: split at LF, a CR before it dropped.
std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t nl = text.find('\n');
        std::string_view line = text.substr(0, nl);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        if (nl == std::string_view::npos) break;
        text.remove_prefix(nl + 1);
    }
    return lines;
}

// What the oracle makes of a file: its valid keys and its damaged lines.
struct Reading {
    std::set<unsigned> valid;
    std::vector<std::string_view> damaged;
};

Reading readingOf(std::string_view file) {
    Reading reading;
    unsigned last = 0;
    for (std::string_view line : linesOf(file)) {
        if (line.empty()) continue;
        const unsigned n = trueRecord(line);
        if (n > last) {
            reading.valid.insert(n);
            last = n;
        } else {
            reading.damaged.push_back(line);
        }
    }
    return reading;
}

// The keys of a store in the exact format, every record GMP's n!; fails
// otherwise.
std::set<unsigned> checkedStore(const std::string& store) {
    std::set<unsigned> keys;
    if (store.substr(0, 5) != "1,\"1\"") fail("the store does not start with 1! ", store);
    std::size_t at = 0;
    unsigned last = 0;
    for (;;) {
        const std::size_t end = store.find("\r\n", at);
        const std::string_view record(store.data() + at,
                                      (end == std::string::npos ? store.size() : end) - at);
        if (record.find('\n') != std::string_view::npos || record.find('\r') != std::string::npos)
            fail("a stray line end in the store", store);
        const unsigned n = trueRecord(record);
        if (n == 0) fail("a record that is not n!", record);
        if (n <= last) fail("records out of order", store);
        last = n;
        keys.insert(n);
        if (end == std::string::npos) break;
        at = end + 2;
        if (at == store.size()) fail("a line end after the last record", store);
    }
    return keys;
}

// The lookup of n in a file whose valid keys are `valid`.
void checkLookup(const FactorialStore& store, unsigned n, const std::set<unsigned>& valid) {
    const FactorialStore::Lookup found = store.lookup(std::to_string(n));
    const auto above = valid.upper_bound(n);
    unsigned expected = 1;
    if (above != valid.begin()) expected = *std::prev(above);
    const std::string& key = found.record.key;
    if (key != std::to_string(expected))
        fail("a lookup gave another record than n's or below", key);
    if (found.record.value != factorial(expected)) fail("a lookup gave a value not n!", key);
    using Place = FactorialStore::Lookup::Place;
    const Place place = expected == n          ? Place::Stored
                        : above == valid.end() ? Place::Beyond
                                               : Place::Gap;
    if (found.place != place) fail("a lookup placed n wrongly", key);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3 || size > 2048) return 0;
    const unsigned n = data[1] % kMaxN + 1;
    const std::string path = folder() + "/facDat.vok";
    const std::string backup = path + ".bak";
    std::filesystem::remove(backup);
    const std::string oldBackup = data[2] & 1 ? "kept from before\r\n" : "";
    if (data[2] & 1) putFile(backup, oldBackup);
    const std::string before = fileFrom(data + 3, size - 3);
    putFile(path, before);
    const Reading old = readingOf(before);

    FactorialStore store(path);
    checkLookup(store, n, old.valid);
    FactorialStore::Change change;
    std::set<unsigned> written;
    switch (data[0] % 4) {
    case 0:
        change = store.create();
        break;
    case 1:
        change = store.insert(std::to_string(n), factorial(n));
        written.insert(n);
        break;
    case 2:
        change = store.append(std::to_string(n), factorial(n));
        written.insert(n);
        break;
    default: {
        std::vector<std::string> table;
        for (unsigned k = 1; k <= n % 30 + 1; ++k) {
            table.push_back(factorial(k));
            written.insert(k);
        }
        change = store.storeTable(table);
        break;
    }
    }
    using Outcome = FactorialStore::Change::Outcome;
    const std::string after = fileBytes(path);
    const std::string backupAfter = fileBytes(backup);
    if (change.outcome != Outcome::Written && change.outcome != Outcome::Unchanged)
        fail("a write on a writable store failed", after);
    if (change.backup.empty() != old.damaged.empty())
        fail("a cut without damage, or damage left uncut", before);
    if (backupAfter.compare(0, oldBackup.size(), oldBackup) != 0)
        fail("the backup lost what it held", backupAfter);
    if (change.backup.empty() && backupAfter != oldBackup) fail("the backup changed", backupAfter);
    const std::string_view added = std::string_view(backupAfter).substr(oldBackup.size());
    std::size_t from = 0;
    for (std::string_view line : old.damaged) {
        const std::size_t at = added.find(line, from);
        if (at == std::string_view::npos) fail("a damaged line is not in the backup", line);
        from = at + line.size();
    }
    if (change.outcome == Outcome::Unchanged) {
        if (after != before) fail("an unchanged store changed", after);
        for (unsigned k : written)
            if (!old.valid.count(k)) fail("a record called stored is not in the store", before);
        checkLookup(store, n, old.valid);
        return 0;
    }

    std::set<unsigned> expected = old.valid;
    expected.insert(written.begin(), written.end());
    expected.insert(1);
    const std::set<unsigned> keys = checkedStore(after);
    if (keys != expected)
        fail("the store holds other records than the valid ones and the new", after);
    checkLookup(store, n, keys);
    return 0;
}
