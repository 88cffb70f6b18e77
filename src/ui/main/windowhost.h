// What a calculation started from a window tells that window: messages and
// questions through the window's presenter, the finished sound and its Stop
// Sound button, and the largest stored factorial. follow() turns an
// engine outcome into all of these.
#pragma once

#include <string>

class QWidget;

namespace longhand {

class FactorialStore;
class Form1;
struct Outcome;

class WindowHost final {
  public:
    // `window` is the computing window (parent of its message boxes) and
    // `stopButton` its Stop Sound button.
    WindowHost(Form1& form, QWidget* window, QWidget* stopButton);

    void showMessage(const std::string& text);
    bool askYesNo(const std::string& text);
    bool soundOn() const;
    void stopSound();
    // With the sound on: starts the looping sound and shows Stop Sound.
    void finished();
    std::string facUpper() const;
    // A new largest stored n: in memory and in the settings file.
    void setFacUpper(const std::string& n);
    std::string facDataPath() const;

    // Does what `outcome` asks, in the order outcome.h gives: stops the
    // sound, keeps the held-back factorials in `store`, shows the notices,
    // follows the store's largest n, shows a refusal, gives the finished
    // signal and asks whether to store an offered factorial (the settings
    // text, n, a CR, the advice), storing it on Yes. True when the outcome's
    // text is a result for the window to show.
    bool follow(Outcome& outcome, FactorialStore* store = nullptr);

  private:
    Form1& form_;
    QWidget* window_;
    QWidget* stopButton_;
};

} // namespace longhand
