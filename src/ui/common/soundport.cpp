#include "soundport.h"

#include "services/paths.h"
#include "services/sound.h"

namespace longhand {

void ServicesSound::play() {
    playLoopSound(kFinishedSound);
}

void ServicesSound::stop() {
    stopSound();
}

} // namespace longhand
