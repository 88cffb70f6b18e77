// The looping finished sound as the windows start and stop it. The real
// one plays through the sound services; another may stand in for it.
#pragma once

namespace longhand {

class SoundPort {
  public:
    virtual ~SoundPort() = default;
    // Starts the finished sound looping (replacing any loop).
    virtual void play() = 0;
    // Stops the looping sound, whatever it is.
    virtual void stop() = 0;
};

// Plays the delivered sound file through playLoopSound() and stopSound().
class ServicesSound final : public SoundPort {
  public:
    void play() override;
    void stop() override;
};

} // namespace longhand
