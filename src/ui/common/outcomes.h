// How a window follows what a calculation came to: the engine's outcome
// turned into message boxes, the save question, the finished sound and the
// factorial store's writes, in the order outcome.h gives.
#pragma once

#include "calcrunner.h"
#include "store/storekeeper.h"
#include "storewords.h"

#include <optional>
#include <string>
#include <type_traits>
#include <vector>

class QWidget;

namespace longhand {

class Presenter;
class SoundPort;
struct Outcome;

// The save question: the settings text, n, a CR, then the advice.
inline constexpr const char* kFacSaveKey = "facSave";
inline constexpr int kFacSaveLength = 47;
inline constexpr const char* kFacSaveAdvice = "You should save this result.";

// The window an outcome is shown in, and what it changes there.
struct OutcomeWindow {
    QWidget* window;          // parent of the message boxes
    QWidget* stopSoundButton; // shown by the finished signal
    Presenter& presenter;
    SoundPort& sound;
    bool soundOn;
    // Where the factorial store's reads and writes run, holding `scene`
    // still; without a runner they run in place.
    CalcRunner* runner = nullptr;
    CalcRunner::Scene scene = {};
};

// The factorial store in the app folder.
FactorialStore appFactorialStore();

// Runs work(progress) on the store, on `runner` (its working panel with
// progress and Cancel, and kFacStoreLockWait while another window holds
// the store's lock) when there is one, in place otherwise. Nothing when the
// run was cancelled.
template <class Work>
auto runStoreWork(CalcRunner* runner, const CalcRunner::Scene& scene, FactorialStore& store,
                  Work&& work) -> std::optional<std::invoke_result_t<Work&, Progress&>> {
    if (!runner) {
        Progress progress;
        return work(progress);
    }
    store.setLockWaitNotice(
        [runner](bool waiting) { runner->setNote(waiting ? kFacStoreLockWaitNote : nullptr); });
    auto done = runner->run(scene, work);
    store.setLockWaitNotice({});
    return done;
}

// Writes `largest`, the store's largest n as the store told it, to the
// settings file where it says otherwise ("" : nothing known, nothing done).
void followLargestStored(const std::string& largest);

// Shows the store's notices in `target`.
void tellStoreNotices(const OutcomeWindow& target, const std::vector<StoreNotice>& notices);

// Does what `outcome` asks: stops the sound, lets `keeper` do what the store
// needs after a result (on the target's runner), shows its notices, follows the store's largest n,
// shows a refusal, gives the finished signal (with the sound on: the loop
// and Stop Sound) and asks whether to store an offered factorial, storing
// it on Yes. True when the outcome's text is a result to show.
bool followOutcome(Outcome& outcome, const OutcomeWindow& target, StoreKeeper* keeper = nullptr);

} // namespace longhand
