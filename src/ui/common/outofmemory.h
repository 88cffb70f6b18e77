// Running out of memory in the windows.
//
// A std::bad_alloc that leaves a handler passes through Qt's event loop,
// which ends the program. So every handler that may take or make a long
// number runs guarded: the calculation, the cleaning pass, a paste, the
// rounding and Move. Memory running out on the way ends in one message and
// changes nothing that is stored.
#pragma once

#include "presenter.h"

#include <QString>
#include <new>
#include <utility>

class QWidget;

namespace longhand {

// Said when a calculation, or a long text taken into a box, needs more
// memory than there is.
inline constexpr const char* kOutOfMemory = "Not enough memory for numbers this long.";

// Shows kOutOfMemory in `window`.
inline void tellOutOfMemory(Presenter& presenter, QWidget* window) {
    presenter.inform(window, QString::fromLatin1(kOutOfMemory));
}

// `step` as a handler that tells in `window` when memory runs out on its
// way, instead of letting std::bad_alloc reach the event loop.
template <class Step> auto guarded(Presenter& presenter, QWidget* window, Step step) {
    return [&presenter, window, step = std::move(step)]() mutable {
        try {
            step();
        } catch (const std::bad_alloc&) {
            tellOutOfMemory(presenter, window);
        }
    };
}

} // namespace longhand
