// The finished sound as the windows start and stop it. The real one plays
// through the sound services; tests record the calls instead.
#pragma once

#include <string>
#include <vector>

namespace longhand {

class SoundPort {
  public:
    virtual ~SoundPort() = default;
    // Starts the sound file `name` looping (replacing any loop).
    virtual void play(const std::string& name) = 0;
    // Stops the looping sound, whatever it is.
    virtual void stop(const std::string& name) = 0;
};

// Plays through playLoopSound() and stopSound().
class ServicesSound final : public SoundPort {
  public:
    void play(const std::string& name) override;
    void stop(const std::string& name) override;
};

// Keeps a log of the calls and whether a loop would be playing.
class RecordingSound final : public SoundPort {
  public:
    void play(const std::string& name) override {
        log.push_back("play " + name);
        looping = true;
    }
    void stop(const std::string& name) override {
        log.push_back("stop " + name);
        looping = false;
    }

    std::vector<std::string> log;
    bool looping = false;
};

} // namespace longhand
