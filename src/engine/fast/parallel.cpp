// The tasks of the fast arithmetic on OpenMP.
#include "parallel.h"

#include <atomic>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <omp.h>

namespace longhand::fast::par {

namespace {

int threadsFromEnvironment() {
    if (const char* s = std::getenv("LONGHAND_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(s, &end, 10);
        if (end != s && *end == '\0' && n >= 1) return static_cast<int>(std::min(n, 1024L));
    }
    return std::max(omp_get_num_procs(), 1);
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

// Spawns tasks 1..count-1 and runs task 0 on this thread; the task group
// waits for all of them (and for every task they spawn in turn), and the
// waiting thread works on queued tasks meanwhile.
void spawnAndWait(std::size_t count, void (*call)(void*, std::size_t), void* context,
                  FirstError& errors) {
#pragma omp taskgroup
    {
        for (std::size_t i = 1; i < count; ++i) {
#pragma omp task default(shared) firstprivate(i)
            errors.run(call, context, i);
        }
        errors.run(call, context, 0);
    }
}

} // namespace

int threads() {
    static const int n = threadsFromEnvironment();
    return n;
}

void runTasks(std::size_t count, void (*call)(void*, std::size_t), void* context) {
    FirstError errors;
    if (omp_in_parallel()) {
        spawnAndWait(count, call, context, errors);
    } else {
        // A new team: one thread runs the tasks' root, the others take
        // tasks from the pool until the region ends.
#pragma omp parallel num_threads(threads())
#pragma omp single
        spawnAndWait(count, call, context, errors);
    }
    errors.rethrow();
}

} // namespace longhand::fast::par
