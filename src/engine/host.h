// The engine's one window to the outside world.
//
// Engine operations are pure functions on texts, except for the few things a
// calculation has to tell the person at the keyboard or keep between runs:
// a message box, a yes/no question, the "finished" signal, the stop of the
// looping sound, and the largest stored factorial. Those go through this
// interface; the desktop windows, the command-line calculator and the tests
// each implement it.
#pragma once

#include <functional>
#include <string>

namespace longhand {

class EngineHost {
  public:
    virtual ~EngineHost() = default;

    // A message box with an OK button and the application title.
    virtual void showMessage(const std::string& text) = 0;

    // A Yes/No question with the question icon; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;

    // True while the finished sound option is on.
    virtual bool soundOn() const = 0;

    // Stops the looping finished sound, whatever is playing.
    virtual void stopSound() = 0;

    // A calculation has finished: with the sound on, start the looping
    // sound and show the computing window's Stop Sound button.
    virtual void finished() = 0;

    // One entry of the settings file's [Text] section, cut to maxLen.
    virtual std::string readText(const std::string& key, int maxLen) = 0;

    // The largest n whose factorial the factorial data file holds ("0": none).
    virtual std::string facUpper() const = 0;

    // Records a new largest stored n: in memory and in the settings file.
    virtual void setFacUpper(const std::string& n) = 0;

    // Full path of the factorial data file.
    virtual std::string facDataPath() const = 0;

    // Long loops poll this; once it returns true the operation gives up
    // and its result is thrown away by the caller.
    virtual bool cancelled() const { return false; }

    // Share of the work done so far, 0 to 1, where the amount is known.
    virtual void progress(double /*fraction*/) {}

    // What a calculation keeps once its result is known (the factorial
    // store's writes, with what they tell the user). Done at once here; a
    // host that runs calculations away from the windows holds it back until
    // the work has finished, and drops it when the work is cancelled.
    virtual void afterWork(std::function<void(EngineHost&)> step) { step(*this); }
};

// A host that says nothing, asks nothing (answers No), plays nothing and
// keeps no factorial store. Stateless: one shared instance serves all.
class SilentHost final : public EngineHost {
  public:
    void showMessage(const std::string&) override {}
    bool askYesNo(const std::string&) override { return false; }
    bool soundOn() const override { return false; }
    void stopSound() override {}
    void finished() override {}
    std::string readText(const std::string&, int) override { return {}; }
    std::string facUpper() const override { return "0"; }
    void setFacUpper(const std::string&) override {}
    std::string facDataPath() const override { return {}; }
};

EngineHost& silentHost();

} // namespace longhand
