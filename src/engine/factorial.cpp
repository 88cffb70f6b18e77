#include "factorial.h"

#include "rangeproduct.h"

#include <utility>

namespace longhand {

std::string factorial(std::string_view n, EngineHost& host) {
    if (!isWholeNumberText(n)) return {};
    std::string result = rangeProduct(wholeNumberValue(n), "", "", host);
    return host.cancelled() ? std::string() : result;
}

namespace {

using Store = FactorialStore;

// rangeProduct(n, x, m) for a factorial that the caller uses; for one that
// only factorEffects asked for and no store keeps, just whether it could be
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
// store will keep it (a gap below the largest stored n).
FactorialWork gatherWork(const std::string& nber, bool computeUnkept, EngineHost& host) {
    FactorialWork work;
    if (!isWholeNumberText(nber)) return work;
    work.n = wholeNumberValue(nber);
    if (work.n == "0") {
        work.result.push_back('1'); // 0! = 1, from no store
        return work;
    }
    const std::string path = host.facDataPath();
    if (path.empty()) {
        work.step = FactorialWork::Step::NoStore;
        work.result = runOrCheck(work.n, "", "", computeUnkept, host);
        if (host.cancelled()) work.result.clear();
        return work;
    }

    Store::Lookup found = Store(path).lookup(work.n);
    work.store = found.state;
    const FactorialRecord& record = found.record;
    switch (found.place) {
    case Store::Lookup::Place::Stored:
        work.step = FactorialWork::Step::Read;
        work.result = std::move(found.record.value);
        work.reached = work.n;
        return work;
    case Store::Lookup::Place::Gap:
        // Continue from the nearest smaller stored factorial.
        work.step = FactorialWork::Step::Insert;
        work.reached = std::move(found.next);
        work.result = rangeProduct(work.n, record.value, record.key, host);
        break;
    case Store::Lookup::Place::Beyond:
        // Continue from the largest stored factorial.
        work.step = FactorialWork::Step::Append;
        if (found.state == Store::State::Ok) work.largest = work.reached = record.key;
        work.result = runOrCheck(work.n, record.value, record.key, computeUnkept, host);
        break;
    }
    if (host.cancelled()) work.result.clear();
    return work;
}

// Sets the host's largest stored n to the store's, where they differ.
void follow(const std::string& largest, EngineHost& host) {
    if (!largest.empty() && host.facUpper() != largest) host.setFacUpper(largest);
}

// Tells the user what a change of the store calls for and follows its
// largest key. True when the store holds what was asked.
bool report(const Store& store, const Store::Change& change, EngineHost& host) {
    for (const std::string& message : store.messages(change))
        host.showMessage(message);
    follow(change.largest, host);
    return change.outcome == Store::Change::Outcome::Written ||
           change.outcome == Store::Change::Outcome::Unchanged;
}

} // namespace

FactorialWork factorialWork(const std::string& nber, EngineHost& host) {
    return gatherWork(nber, true, host);
}

std::string storeFactorial(const FactorialWork& work, int askFlag, EngineHost& host) {
    using Step = FactorialWork::Step;
    if (work.step == Step::Done) return work.result;
    if (work.result.empty()) return work.result; // refused or cancelled: nothing to keep
    const bool computed = work.step != Step::Read;
    if (work.step == Step::NoStore) {
        host.finished();
        return work.result;
    }
    Store store(host.facDataPath());
    if (work.store == Store::State::Unreadable) {
        host.showMessage(kFacStoreUnreadable + store.path());
        if (computed) host.finished();
        return work.result;
    }
    std::string largest = work.largest;
    if (work.store == Store::State::Empty) {
        const Store::Change started = store.create();
        if (!report(store, started, host)) {
            // Told the user; n! was computed from 1 all the same.
            if (computed) host.finished();
            return work.result;
        }
        largest = started.largest;
    }
    if (largest.empty() && work.store == Store::State::Ok)
        largest = store.currentLargestKey(host.facUpper(), work.reached);
    follow(largest, host);
    if (!computed) return work.result;

    host.finished();
    if (work.step == Step::Insert) {
        report(store, store.insert(work.n, work.result), host);
        return work.result;
    }
    if (askFlag != 1) return work.result;
    const std::string question =
        host.readText(kFacSaveKey, kFacSaveLength) + work.n + "\r" + kFacSaveAdvice;
    if (host.askYesNo(question)) report(store, store.append(work.n, work.result), host);
    return work.result;
}

std::string factorN(const std::string& nber, int askFlag, EngineHost& host) {
    FactorialWork work = factorialWork(nber, host);
    if (host.cancelled()) return {};
    std::string result = work.result;
    host.afterWork(
        [work = std::move(work), askFlag](EngineHost& h) { storeFactorial(work, askFlag, h); });
    return result;
}

bool factorEffects(const std::string& nber, EngineHost& host) {
    FactorialWork work = gatherWork(nber, false, host);
    if (host.cancelled()) return false;
    const bool ok = !work.result.empty();
    host.afterWork([work = std::move(work)](EngineHost& h) { storeFactorial(work, 0, h); });
    return ok;
}

} // namespace longhand
