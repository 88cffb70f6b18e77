#include "soundport.h"

#include "services/sound.h"

namespace longhand {

void ServicesSound::play(const std::string& name) {
    playLoopSound(name);
}

void ServicesSound::stop(const std::string& name) {
    stopSound(name);
}

} // namespace longhand
