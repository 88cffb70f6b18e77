// The tasks of the fast arithmetic on oneTBB.
//
// oneTBB keeps one pool of worker threads for the whole process; a thread
// that waits for its tasks takes part in the work (and in other tasks of
// the pool), and idle workers go to sleep after a short spin, so a busy
// machine loses little to them. The thread limit is a process-wide
// tbb::global_control.
//
// The workers take none of the process's signals: a Ctrl+C or a window
// system's signal goes to a thread the program owns, where a handler (the
// line editor's above all) expects it, and never interrupts a task.
//
// Under ThreadSanitizer: Debian's libtbb is not instrumented, so the
// sanitizer cannot see the ordering that the pool's own synchronisation
// gives. The hand-over points are annotated instead: whatever the caller
// wrote before spawning happens before each task, each task happens before
// the caller's return, and the pool's bookkeeping while a task is spawned
// is ignored. Races between tasks, or between a task and the caller, are
// still reported.
#include "parallel.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <system_error>
#include <tbb/global_control.h>
#include <tbb/info.h>
#include <tbb/task_group.h>
#include <tbb/task_scheduler_observer.h>

#if defined(__SANITIZE_THREAD__)
#define LONGHAND_TSAN 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define LONGHAND_TSAN 1
#endif
#endif

#ifdef LONGHAND_TSAN
extern "C" void __tsan_acquire(void* addr);
extern "C" void __tsan_release(void* addr);
extern "C" void AnnotateIgnoreReadsBegin(const char* file, int line);
extern "C" void AnnotateIgnoreReadsEnd(const char* file, int line);
extern "C" void AnnotateIgnoreWritesBegin(const char* file, int line);
extern "C" void AnnotateIgnoreWritesEnd(const char* file, int line);
#endif

namespace longhand::fast::par {

namespace {

int threadsFromEnvironment() {
    if (const char* s = std::getenv("LONGHAND_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(s, &end, 10);
        if (end != s && *end == '\0' && n >= 1) return static_cast<int>(std::min(n, 1024L));
    }
    return std::max(tbb::info::default_concurrency(), 1);
}

// The pieces of one runTasks call. They are claimed, not assigned: the
// caller and every task it queued take the next unclaimed piece until none
// is left, so each piece runs exactly once whichever tasks the pool ran,
// and a task that never ran (the system refused the pool a thread, or
// there was no memory for the task) costs only a helper. The first
// exception stops the claims and is kept for the caller.
class Claims {
  public:
    Claims(std::size_t count, void (*call)(void*, std::size_t), void* context)
        : count_(count), call_(call), context_(context) {}

    void drain() {
        for (;;) {
            if (failed_.load(std::memory_order_acquire)) return;
            const std::size_t i = next_.fetch_add(1, std::memory_order_relaxed);
            if (i >= count_) return;
            try {
                call_(context_, i);
            } catch (...) {
                const std::lock_guard<std::mutex> lock(mutex_);
                if (!error_) error_ = std::current_exception();
                failed_.store(true, std::memory_order_release);
            }
            finished_.fetch_add(1, std::memory_order_relaxed);
        }
    }
    // Once every helper has returned: the first exception, if any; else
    // every piece has finished.
    void rethrow() {
        if (error_) std::rethrow_exception(error_);
        if (finished_.load(std::memory_order_relaxed) != count_)
            throw std::logic_error("a parallel loop lost a piece");
    }

  private:
    const std::size_t count_;
    void (*const call_)(void*, std::size_t);
    void* const context_;
    std::atomic<std::size_t> next_{0}, finished_{0};
    std::atomic<bool> failed_{false};
    std::mutex mutex_;
    std::exception_ptr error_;
};

// The next this many hand-overs to the pool fail (par::testing).
std::atomic<int> refusalsToSimulate{0};

#ifdef LONGHAND_TSAN
void handOver(void* edge) {
    __tsan_release(edge);
}
void takeOver(void* edge) {
    __tsan_acquire(edge);
}
template <class F> void ignoringPoolBookkeeping(F&& f) {
    // Ended however f() leaves, a refused thread's exception included.
    struct Ignoring {
        Ignoring() {
            AnnotateIgnoreReadsBegin(__FILE__, __LINE__);
            AnnotateIgnoreWritesBegin(__FILE__, __LINE__);
        }
        ~Ignoring() {
            AnnotateIgnoreWritesEnd(__FILE__, __LINE__);
            AnnotateIgnoreReadsEnd(__FILE__, __LINE__);
        }
    } ignoring;
    f();
}
#else
void handOver(void*) {}
void takeOver(void*) {}
template <class F> void ignoringPoolBookkeeping(F&& f) {
    f();
}
#endif

// Set once the system refused the pool a thread; from then on the work
// stays on the calling thread.
std::atomic<bool> poolRefused{false};

// Blocks the signals that come from outside (Ctrl+C, a closed terminal, a
// resized window, a stop) in each worker as it joins the pool; the faults
// a worker's own instruction raises stay deliverable, so a crash is still
// reported where it happens. Made before the first task, so no worker runs
// without it.
class SignalsStayOut : public tbb::task_scheduler_observer {
  public:
    SignalsStayOut() { observe(true); }
    void on_scheduler_entry(bool isWorker) override {
        if (!isWorker) return;
        sigset_t outside;
        sigfillset(&outside);
        for (int fault : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGTRAP, SIGABRT, SIGSYS})
            sigdelset(&outside, fault);
        pthread_sigmask(SIG_BLOCK, &outside, nullptr);
    }
};

} // namespace

int threads() {
    // Never destroyed: the pool outlives every static destructor's turn,
    // and an observer taken out of a pool that is already gone leaks.
    static SignalsStayOut* const signalsStayOut = new SignalsStayOut;
    (void)signalsStayOut;
    static const int n = threadsFromEnvironment();
    static const tbb::global_control limit(tbb::global_control::max_allowed_parallelism,
                                           static_cast<std::size_t>(n));
    return n;
}

void runTasks(std::size_t count, void (*call)(void*, std::size_t), void* context) {
    if (count == 0) return;
    const std::size_t helpers = std::min(count, static_cast<std::size_t>(threads())) - 1;
    Claims pieces(count, call, context);
    // One byte per helper as the sanitizer's hand-over points: [0] from the
    // caller to every helper, [h] from helper h back to the caller.
    const std::unique_ptr<char[]> edgeStore(new char[helpers + 1]);
    char* edges = edgeStore.get();
    tbb::task_group group;
    handOver(edges);
    // The pool starts its threads when the first tasks arrive. When the
    // system refuses one (an address-space limit, say), the work stays on
    // the calling thread from then on; whether the refused helper was
    // queued or not, the claims above keep every piece to one run.
    std::size_t queued = 0;
    try {
        for (; queued < helpers; ++queued) {
            if (refusalsToSimulate.load(std::memory_order_relaxed) > 0 &&
                refusalsToSimulate.fetch_sub(1, std::memory_order_relaxed) > 0)
                throw std::system_error(
                    std::make_error_code(std::errc::resource_unavailable_try_again));
            ignoringPoolBookkeeping([&] {
                const std::size_t h = queued + 1;
                group.run([&pieces, edges, h] {
                    takeOver(edges);
                    pieces.drain();
                    handOver(edges + h);
                });
            });
        }
    } catch (...) {
        poolRefused.store(true, std::memory_order_relaxed);
    }
    pieces.drain();
    group.wait();
    // Helper queued + 1 may have been queued before its refusal.
    for (std::size_t h = 1; h <= std::min(queued + 1, helpers); ++h)
        takeOver(edges + h);
    pieces.rethrow();
}

bool poolUsable() {
    return threads() > 1 && !poolRefused.load(std::memory_order_relaxed);
}

namespace testing {

void refuseHandOvers(int count) {
    refusalsToSimulate.store(count, std::memory_order_relaxed);
    poolRefused.store(false, std::memory_order_relaxed);
}

} // namespace testing

} // namespace longhand::fast::par
