// How a window follows what a calculation came to: the engine's outcome
// turned into message boxes, the save question, the finished sound and the
// factorial store's writes, in the order outcome.h gives.
#pragma once

#include "engine/factorialstore.h"

#include <string>

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
    // The largest n the factorial store holds, as the windows remember it.
    std::string& largestStored;
};

// The factorial store in the app folder.
FactorialStore appFactorialStore();

// Remembers `largest` as the store's largest n, in memory and in the
// settings file, where it differs from the one remembered.
void followLargestStored(std::string& remembered, const std::string& largest);

// Does what `outcome` asks: stops the sound, keeps the factorials the work
// held back in `store`, shows the notices, follows the store's largest n,
// shows a refusal, gives the finished signal (with the sound on: the loop
// and Stop Sound) and asks whether to store an offered factorial, storing
// it on Yes. True when the outcome's text is a result to show.
bool followOutcome(Outcome& outcome, const OutcomeWindow& target, FactorialStore* store = nullptr);

} // namespace longhand
