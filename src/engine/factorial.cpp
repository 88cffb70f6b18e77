#include "factorial.h"

#include "filestore.h"
#include "rangeproduct.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace longhand {

namespace {

constexpr std::string_view kRecordSeparator = "\r\n";

struct FacRecord {
    std::size_t start; // 0-based offset of the record's first byte
    std::string_view key;
    std::string_view value;
};

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Order of whole numbers written without leading zeros.
bool keyLess(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// The records of a data file, or nothing when the bytes break the format.
std::optional<std::vector<FacRecord>> parseFacFile(std::string_view bytes) {
    std::vector<FacRecord> records;
    std::size_t pos = 0;
    for (;;) {
        FacRecord record{pos, {}, {}};
        std::size_t i = pos;
        while (i < bytes.size() && isDigit(bytes[i]))
            ++i;
        record.key = bytes.substr(pos, i - pos);
        if (record.key.empty() || record.key[0] == '0') return std::nullopt;
        if (bytes.substr(i, 2) != ",\"") return std::nullopt;
        const std::size_t valueStart = i + 2;
        i = valueStart;
        while (i < bytes.size() && isDigit(bytes[i]))
            ++i;
        record.value = bytes.substr(valueStart, i - valueStart);
        if (record.value.empty() || i >= bytes.size() || bytes[i] != '"') return std::nullopt;
        if (records.empty() ? (record.key != "1" || record.value != "1")
                            : !keyLess(records.back().key, record.key))
            return std::nullopt;
        records.push_back(record);
        pos = i + 1;
        if (pos == bytes.size()) return records;
        if (bytes.substr(pos, kRecordSeparator.size()) != kRecordSeparator) return std::nullopt;
        pos += kRecordSeparator.size();
    }
}

void appendRecord(std::string& out, std::string_view n, std::string_view factorial) {
    out.append(n).append(",\"").append(factorial).push_back('"');
}

void reportUnwritable(const std::string& path, EngineHost& host) {
    host.showMessage(kFacStoreUnwritable + path);
}

// Replaces the data file by the single record 1! and records 1 as the
// largest stored n. False (after telling the user) when it cannot be written.
bool resetFacFile(const std::string& path, EngineHost& host) {
    if (!replaceFileAtomically(path, std::string(kFirstFacRecord))) {
        reportUnwritable(path, host);
        return false;
    }
    host.setFacUpper("1");
    return true;
}

// The file with the record n, n! inserted at byte offset `at` in `bytes`,
// which must hold a valid file whose record there has a key larger than n.
std::string withRecordInserted(std::string_view bytes, std::size_t at, std::string_view n,
                               std::string_view factorial) {
    std::string out;
    out.reserve(bytes.size() + n.size() + factorial.size() + 5);
    out.append(bytes.substr(0, at));
    appendRecord(out, n, factorial);
    out.append(kRecordSeparator).append(bytes.substr(at));
    return out;
}

} // namespace

std::string factorial(std::string_view n, EngineHost& host) {
    if (!isWholeNumberText(n)) return {};
    std::string result = rangeProduct(wholeNumberValue(n), "", "", host);
    return host.cancelled() ? std::string() : result;
}

namespace {

// rangeProduct(n, x, m) for a factorial that the caller uses; for one that
// only factorEffects asked for and no file keeps, just whether it could be
// computed: rangeProduct's refusal of a product too long to hold, else "1"
// in its place (nothing stores or shows it).
std::string runOrCheck(std::string_view n, std::string_view x, std::string_view m, bool compute,
                       EngineHost& host) {
    if (compute) return rangeProduct(n, x, m, host);
    if (productTooLong(n, x, m)) {
        host.showMessage(kProductTooLong);
        return {};
    }
    return "1";
}

// factorialWork; with computeUnkept false, n! is computed only where the
// file will keep it (a gap below the largest stored n).
FactorialWork gatherWork(const std::string& nber, bool computeUnkept, EngineHost& host) {
    FactorialWork work;
    if (!isWholeNumberText(nber)) return work;
    work.n = wholeNumberValue(nber);
    if (work.n == "0") {
        work.result = "1";
        return work;
    }
    const std::string path = host.facDataPath();
    if (path.empty()) {
        work.step = FactorialWork::Step::NoStore;
        work.result = runOrCheck(work.n, "", "", computeUnkept, host);
        if (host.cancelled()) work.result.clear();
        return work;
    }

    std::string bytes;
    std::optional<std::vector<FacRecord>> records;
    if (host.facUpper() != "0") {
        if (auto read = readWholeFile(path)) {
            bytes = std::move(*read);
            records = parseFacFile(bytes);
        }
    }
    if (!records) {
        // No usable table: a new one is started when the result is stored.
        work.resetFile = true;
        bytes = kFirstFacRecord;
        records = parseFacFile(bytes);
    }

    // The file, not the remembered value, says which n is the largest stored.
    const FacRecord& last = records->back();
    work.upper = last.key;
    auto next = std::lower_bound(
        records->begin(), records->end(), work.n,
        [](const FacRecord& r, const std::string& key) { return keyLess(r.key, key); });
    if (next != records->end() && next->key == work.n) {
        work.step = FactorialWork::Step::Read;
        work.result = next->value;
        return work;
    }
    if (next != records->end()) {
        // Missing below the largest stored n: continue from the nearest
        // smaller one (there is always one, 1! comes first).
        const FacRecord& before = *(next - 1);
        work.step = FactorialWork::Step::Insert;
        work.insertAt = next->start;
        work.result = rangeProduct(work.n, before.value, before.key, host);
    } else {
        // Beyond the table: continue from the largest stored factorial.
        work.step = FactorialWork::Step::Append;
        work.result = runOrCheck(work.n, last.value, last.key, computeUnkept, host);
    }
    records.reset();
    if (work.step == FactorialWork::Step::Insert) work.bytes = std::move(bytes);
    if (host.cancelled()) work.result.clear();
    return work;
}

} // namespace

FactorialWork factorialWork(const std::string& nber, EngineHost& host) {
    return gatherWork(nber, true, host);
}

bool factorEffects(const std::string& nber, EngineHost& host) {
    FactorialWork work = gatherWork(nber, false, host);
    if (host.cancelled()) return false;
    return !storeFactorial(std::move(work), 0, host).empty();
}

std::string storeFactorial(FactorialWork work, int askFlag, EngineHost& host) {
    using Step = FactorialWork::Step;
    if (work.step == Step::Done) return work.result;
    if (work.step == Step::NoStore) {
        if (!work.result.empty()) host.finished();
        return work.result;
    }
    const std::string path = host.facDataPath();
    if (work.resetFile && !resetFacFile(path, host)) {
        // Told the user; the factorial was computed from 1 all the same.
        if (!work.result.empty()) host.finished();
        return work.result;
    }
    if (host.facUpper() != work.upper) host.setFacUpper(work.upper);
    if (work.result.empty() || work.step == Step::Read) return work.result;

    host.finished();
    if (work.step == Step::Insert) {
        if (!replaceFileAtomically(
                path, withRecordInserted(work.bytes, work.insertAt, work.n, work.result)))
            reportUnwritable(path, host);
        return work.result;
    }
    if (askFlag != 1) return work.result;
    const std::string question =
        host.readText(kFacSaveKey, kFacSaveLength) + work.n + "\r" + kFacSaveAdvice;
    if (host.askYesNo(question)) saveBiggerFacUpper(work.n, work.result, host);
    return work.result;
}

std::string factorN(const std::string& nber, int askFlag, EngineHost& host) {
    FactorialWork work = factorialWork(nber, host);
    if (host.cancelled()) return {};
    return storeFactorial(std::move(work), askFlag, host);
}

std::string commonInsert(const std::string& iIn, const std::string& writtenFac, Count oldIn,
                         const std::string& finalResult, const std::string& theRest,
                         EngineHost& host) {
    std::string result = rangeProduct(writtenFac, finalResult, iIn, host);
    if (result.empty() || host.cancelled()) return {};
    const std::string path = host.facDataPath();
    if (path.empty() || oldIn < 1) return result;
    auto old = readWholeFile(path);
    if (!old || static_cast<std::size_t>(oldIn - 1) > old->size()) return result;

    // The new record, the old tail and the final quote go over the file from
    // oldIn on; old bytes beyond the written ones (none in a valid call) stay.
    const std::size_t at = static_cast<std::size_t>(oldIn - 1);
    std::string bytes;
    bytes.reserve(old->size() + writtenFac.size() + result.size() + 5);
    bytes.append(*old, 0, at);
    appendRecord(bytes, writtenFac, result);
    bytes.append(kRecordSeparator).append(theRest).push_back('"');
    if (old->size() > bytes.size()) bytes.append(*old, bytes.size());
    old.reset();

    if (!parseFacFile(bytes)) return result; // would break the file's order
    if (!replaceFileAtomically(path, bytes)) reportUnwritable(path, host);
    return result;
}

void saveBiggerFacUpper(const std::string& savedFac, const std::string& facResult,
                        EngineHost& host) {
    const std::string path = host.facDataPath();
    if (path.empty() || !isWholeNumberText(savedFac) || savedFac[0] == '0' ||
        !isWholeNumberText(facResult))
        return;
    auto bytes = readWholeFile(path);
    if (!bytes) return;
    auto records = parseFacFile(*bytes);
    if (!records || !keyLess(records->back().key, savedFac)) return;
    records.reset();

    bytes->reserve(bytes->size() + savedFac.size() + facResult.size() + 5);
    bytes->append(kRecordSeparator);
    appendRecord(*bytes, savedFac, facResult);
    if (!replaceFileAtomically(path, *bytes)) {
        reportUnwritable(path, host);
        return;
    }
    host.setFacUpper(savedFac);
}

} // namespace longhand
