// The tasks of the fast arithmetic on oneTBB.
//
// oneTBB keeps one pool of worker threads for the whole process; a thread
// that waits for its tasks takes part in the work (and in other tasks of
// the pool), and idle workers go to sleep after a short spin, so a busy
// machine loses little to them. The thread limit is a process-wide
// tbb::global_control.
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
#include <cstdlib>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <tbb/global_control.h>
#include <tbb/info.h>
#include <tbb/task_group.h>

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

// The first exception of one runTasks call; later tasks of the call are
// skipped once there is one.
class FirstError {
  public:
    void run(void (*call)(void*, std::size_t), void* context, std::size_t i) {
        if (failed_.load(std::memory_order_acquire)) return;
        try {
            call(context, i);
        } catch (...) {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (!error_) error_ = std::current_exception();
            failed_.store(true, std::memory_order_release);
        }
    }
    void rethrow() {
        if (error_) std::rethrow_exception(error_);
    }

  private:
    std::atomic<bool> failed_{false};
    std::mutex mutex_;
    std::exception_ptr error_;
};

#ifdef LONGHAND_TSAN
void handOver(void* edge) {
    __tsan_release(edge);
}
void takeOver(void* edge) {
    __tsan_acquire(edge);
}
template <class F> void ignoringPoolBookkeeping(F&& f) {
    AnnotateIgnoreReadsBegin(__FILE__, __LINE__);
    AnnotateIgnoreWritesBegin(__FILE__, __LINE__);
    f();
    AnnotateIgnoreWritesEnd(__FILE__, __LINE__);
    AnnotateIgnoreReadsEnd(__FILE__, __LINE__);
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

} // namespace

int threads() {
    static const int n = threadsFromEnvironment();
    static const tbb::global_control limit(tbb::global_control::max_allowed_parallelism,
                                           static_cast<std::size_t>(n));
    return n;
}

void runTasks(std::size_t count, void (*call)(void*, std::size_t), void* context) {
    threads(); // the limit holds from the first task on
    FirstError errors;
    // One byte per task as the sanitizer's hand-over points: [0] from the
    // caller to every task, [i] from task i back to the caller.
    const std::unique_ptr<char[]> edgeStore(new char[count]);
    char* edges = edgeStore.get();
    tbb::task_group group;
    handOver(edges);
    // The pool starts its threads when the first tasks arrive. When the
    // system refuses a thread (an address-space limit, say), the task that
    // asked for it is queued already and runs in wait(); the tasks not yet
    // handed out run here, and so does all later work.
    std::size_t handedOut = 1;
    try {
        for (; handedOut < count; ++handedOut)
            ignoringPoolBookkeeping([&] {
                const std::size_t i = handedOut;
                group.run([&errors, call, context, edges, i] {
                    takeOver(edges);
                    errors.run(call, context, i);
                    handOver(edges + i);
                });
            });
    } catch (const std::bad_alloc&) {
        // No room for the task itself: it was never queued.
        poolRefused.store(true, std::memory_order_relaxed);
    } catch (...) {
        // A refused thread: the task was queued before the pool asked.
        poolRefused.store(true, std::memory_order_relaxed);
        ++handedOut;
    }
    errors.run(call, context, 0);
    for (std::size_t i = handedOut; i < count; ++i) {
        errors.run(call, context, i);
        handOver(edges + i);
    }
    group.wait();
    for (std::size_t i = 1; i < count; ++i)
        takeOver(edges + i);
    errors.rethrow();
}

bool poolUsable() {
    return threads() > 1 && !poolRefused.load(std::memory_order_relaxed);
}

} // namespace longhand::fast::par
