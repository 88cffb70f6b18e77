// What the windows share, handed to each window that opens over the main
// one: the presenter, the calculation runner, the sound, the options, the
// history, and a way to put a number into one of the main window's operand
// boxes. A
// window needs nothing of another window but this.
#pragma once

#include "calcrunner.h"
#include "core/inputcheck.h"
#include "core/move.h"
#include "numberfile.h"
#include "outcomes.h"

#include <functional>
#include <string>

class QWidget;

namespace longhand {

class HistoryKeeper;
class Presenter;
class SoundPort;

// A window's caption while a cleaning pass runs over what was typed.
inline constexpr const char* kCheckingCaption = "Checking";

// The options every window follows; the main window reads them at start-up
// and its menus change them.
struct WindowOptions {
    InputCheck inputCheck = InputCheck::Unset;
    bool soundOn = true;
    int groupSize = 0; // digits between two gaps in the result views; 0: none
};

struct WindowContext {
    QWidget* owner; // the window the others open over
    Presenter& presenter;
    CalcRunner& runner;
    SoundPort& sound;
    WindowOptions& options;
    HistoryKeeper& history; // keeps the results of every window
    // Empties an operand box and gives it `text`. A text the free memory
    // cannot take into the box changes nothing and is told in `window`.
    // True when the box took it.
    std::function<bool(MoveTarget box, const std::string& text, QWidget* window)> putOperand;

    // Where the outcome of a calculation started from `window` is shown;
    // the finished signal shows its `stopSoundButton`, and the store's work
    // runs on the runner holding `scene` still.
    OutcomeWindow outcomeWindow(QWidget* window, QWidget* stopSoundButton,
                                CalcRunner::Scene scene = {}) const {
        return {window,          stopSoundButton, presenter,       sound,
                options.soundOn, &runner,         std::move(scene)};
    }
    // How `window` opens and saves files, holding `scene` still meanwhile.
    FileWork fileWork(QWidget* window, CalcRunner::Scene scene) const {
        return {window, presenter, runner, std::move(scene)};
    }
};

} // namespace longhand
