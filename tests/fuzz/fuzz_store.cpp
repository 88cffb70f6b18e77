// libFuzzer target: the factorial store's reader and merger on any bytes.
// A store file of fuzzed bytes (with true records, records with a digit
// changed and stray bytes mixed in) is looked up and written once; then
//   - a lookup gives n! itself, or a record the file holds as it is;
//   - a write that succeeds leaves a store in the exact format: `1,"1"`
//     first, records in ascending order separated by CR LF, none after the
//     last, each one n! or a record of the old file copied as it was;
//   - no true record is lost: each one of the old file is still in the
//     store, or in the backup when a damaged part was cut;
//   - the backup is the old file when a cut was made, untouched otherwise.
// The store checks a record's length and final zeros, not every digit: a
// record with a digit changed may be copied (the checks above allow it).
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

// The key of a record line `n,"...`; 0 when it has none from 1 to kMaxN.
unsigned keyOf(std::string_view line) {
    unsigned n = 0;
    std::size_t i = 0;
    for (; i < line.size() && i < 4 && line[i] >= '0' && line[i] <= '9'; ++i)
        n = n * 10 + static_cast<unsigned>(line[i] - '0');
    if (i == 0 || line[0] == '0' || line.substr(i, 2) != ",\"" || n > kMaxN) return 0;
    return n;
}

// True when `record` stands at the start of a line of `file`.
bool startsALine(std::string_view file, std::string_view record) {
    for (std::size_t at = file.find(record); at != std::string_view::npos;
         at = file.find(record, at + 1))
        if (at == 0 || file[at - 1] == '\n') return true;
    return false;
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

// The keys of a store in the exact format, every record true or one of
// `old`; fails otherwise.
std::set<unsigned> checkedStore(const std::string& store, std::string_view old) {
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
        const unsigned n = startsALine(old, record) ? keyOf(record) : trueRecord(record);
        if (n == 0) fail("a record that is neither n! nor one of the old file", record);
        if (n <= last) fail("records out of order", store);
        last = n;
        keys.insert(n);
        if (end == std::string::npos) break;
        at = end + 2;
        if (at == store.size()) fail("a line end after the last record", store);
    }
    return keys;
}

void checkLookup(const FactorialStore& store, unsigned n, std::string_view old) {
    const FactorialStore::Lookup found = store.lookup(std::to_string(n));
    const std::string& key = found.record.key;
    if (key.empty() || key.size() > 3) fail("a lookup gave no record", key);
    const unsigned k = static_cast<unsigned>(std::stoul(key));
    const std::string record = key + ",\"" + found.record.value + "\"";
    if (k < 1 || k > kMaxN || (found.record.value != factorial(k) && !startsALine(old, record)))
        fail("a lookup gave a factorial the file does not hold", record);
    if (found.place == FactorialStore::Lookup::Place::Stored && k != n)
        fail("a lookup gave another n", key);
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

    FactorialStore store(path);
    checkLookup(store, n, before);
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
    if (backupAfter != (change.backup.empty() ? oldBackup : before))
        fail("the backup is neither the old file nor untouched", backupAfter);
    if (change.outcome == Outcome::Unchanged) {
        // It held the records already: each starts a line of the file.
        if (after != before) fail("an unchanged store changed", after);
        for (unsigned k : written) {
            if (!startsALine(before, recordOf(k)))
                fail("a record called stored is not in the store", before);
        }
        checkLookup(store, n, before);
        return 0;
    }

    const std::set<unsigned> keys = checkedStore(after, before);
    for (unsigned k : written)
        if (!keys.count(k)) fail("the record written is missing", after);
    for (std::string_view line : linesOf(before)) {
        const unsigned k = trueRecord(line);
        if (k != 0 && !keys.count(k) && change.backup.empty()) fail("a true record was lost", line);
    }
    checkLookup(store, n, before);
    return 0;
}
