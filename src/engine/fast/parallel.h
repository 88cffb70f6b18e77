// Running the long work of the fast arithmetic on every core.
//
// The work is split into tasks of oneTBB's pool (parallel.cpp is the only
// file that uses it). One pool serves the whole process: a call from any
// thread (the windows' worker as well as the command line's main thread)
// hands its tasks to the same workers, and a call made inside a task adds
// tasks beside it, so nested splits (the halves of a product tree, the
// transforms inside each product) share the threads.
//
// LONGHAND_THREADS=N in the environment limits the pool to N threads; 1
// runs everything on the calling thread. The arithmetic never depends on
// the number of threads, so results are the same byte for byte.
//
// An exception thrown by a task (Cancelled above all) stops the tasks of
// the same call that have not started yet and is rethrown to the caller
// once the running ones have finished.
#pragma once

#include "thresholds.h"

#include <algorithm>
#include <cstddef>
#include <type_traits>

namespace longhand::fast::par {

// Threads the long operations may use: LONGHAND_THREADS when it holds a
// number from 1 up, else the cores this process may run on.
int threads();

// True while work may go to the pool: more than one thread allowed, and
// the system has not refused the pool a thread.
bool poolUsable();

// Runs call(context, i) once for every i < count, spread over the threads,
// and returns once all have finished.
void runTasks(std::size_t count, void (*call)(void* context, std::size_t i), void* context);

namespace testing {
// The next `count` hand-overs of work to the pool fail as a refused thread
// does; 0 lets the pool work normally again.
void refuseHandOvers(int count);
} // namespace testing

// body(i) for every i < count, in parallel when there is more than one
// thread and more than one task.
template <class F> void forEach(std::size_t count, F&& body) {
    if (count <= 1 || !poolUsable()) {
        for (std::size_t i = 0; i < count; ++i)
            body(i);
        return;
    }
    using Body = std::remove_reference_t<F>;
    runTasks(
        count, [](void* context, std::size_t i) { (*static_cast<Body*>(context))(i); },
        const_cast<void*>(static_cast<const void*>(&body)));
}

// forEach when worth is true, else body(0), body(1), ... in turn here.
template <class F> void forEachIf(bool worth, std::size_t count, F&& body) {
    if (worth) {
        forEach(count, body);
    } else {
        for (std::size_t i = 0; i < count; ++i)
            body(i);
    }
}

// a() and b(), side by side when worth is true.
template <class A, class B> void invoke(bool worth, A&& a, B&& b) {
    if (!worth) {
        a();
        b();
        return;
    }
    forEach(2, [&](std::size_t i) { i == 0 ? a() : b(); });
}

// Consecutive pieces [edge(k), edge(k + 1)) for k < count that cover
// [0, n): at least `grain` items each (a multiple of `align`, except the
// last), as many as keep every thread busy, and more where they would be
// longer than kMostPieceItems; one piece when n < 2 grain.
struct Pieces {
    std::size_t count, n, align;
    std::size_t edge(std::size_t k) const { return k >= count ? n : n / count * k / align * align; }
};

inline Pieces piecesOf(std::size_t n, std::size_t grain, std::size_t align = 1) {
    const std::size_t most = std::max(4 * static_cast<std::size_t>(threads()),
                                      (n + kMostPieceItems - 1) / kMostPieceItems);
    const std::size_t count =
        std::min(most, std::max<std::size_t>(n / std::max<std::size_t>(grain, 1), 1));
    return {count, n, align};
}

// body(from, to) over the pieces of [0, n), side by side.
template <class F> void forChunks(std::size_t n, std::size_t grain, std::size_t align, F&& body) {
    const Pieces pieces = piecesOf(n, grain, align);
    forEach(pieces.count, [&](std::size_t k) {
        const std::size_t from = pieces.edge(k), to = pieces.edge(k + 1);
        if (from < to) body(from, to);
    });
}

} // namespace longhand::fast::par
