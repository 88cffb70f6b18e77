// The looping "finished" sound.
//
// Both calls return at once; the sound plays on Qt Multimedia's side. They
// do nothing without a QCoreApplication, off its thread, without an audio
// output or when the file cannot be found: the program then stays silent.
#pragma once

#include <string>

namespace longhand {

// Starts appFilePath(name) playing over and over until stopSound() or the
// next playLoopSound(), which replaces it: there is never more than one loop.
void playLoopSound(const std::string& name);

// Stops the looping sound, whatever it is.
void stopSound();

// Whether a sound is playing or waiting to play.
bool isSoundLooping();

} // namespace longhand
