// A test double for the engine's host: records every message and question,
// answers questions from a script, and counts the sound calls.
#pragma once

#include "engine/host.h"

#include <deque>
#include <string>
#include <vector>

namespace longhand::test {

class RecordingHost : public EngineHost {
  public:
    std::vector<std::string> messages;
    std::vector<std::string> questions;
    std::deque<bool> answers; // answers to the next questions; No once empty
    bool sound = false;
    int stopSoundCalls = 0;
    int finishedCalls = 0;
    std::string upper = "0";
    std::string dataPath;
    int cancelAfterPolls = -1; // cancelled() turns true after this many polls
    mutable int polls = 0;

    void showMessage(const std::string& text) override { messages.push_back(text); }
    bool askYesNo(const std::string& text) override {
        questions.push_back(text);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
    bool soundOn() const override { return sound; }
    void stopSound() override { ++stopSoundCalls; }
    void finished() override { ++finishedCalls; }
    std::string readText(const std::string&, int) override { return {}; }
    std::string facUpper() const override { return upper; }
    void setFacUpper(const std::string& n) override { upper = n; }
    std::string facDataPath() const override { return dataPath; }
    bool cancelled() const override {
        ++polls;
        return cancelAfterPolls >= 0 && polls > cancelAfterPolls;
    }
};

} // namespace longhand::test
