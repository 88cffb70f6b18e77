// The looping finished sound: one loop until stopped, and silence where
// there is no audio output or no file.
#include "services/paths.h"
#include "services/sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <gtest/gtest.h>

namespace longhand {
namespace {

TEST(Sound, OneLoopUntilStoppedAndSilenceWithoutAudioOrFile) {
    static int argc = 1;
    static char name[] = "services_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    setAppFolder(executableFolder()); // where the build put 1.wav
    playLoopSound("1.wav");
    playLoopSound("1.wav"); // replaces the loop
    QCoreApplication::processEvents();
    EXPECT_EQ(isSoundLooping(), !QMediaDevices::audioOutputs().isEmpty());
    stopSound();
    EXPECT_FALSE(isSoundLooping());
    playLoopSound("no-such-sound.wav");
    QCoreApplication::processEvents();
    EXPECT_FALSE(isSoundLooping());
    setAppFolder("/nonexistent-longhand-folder");
}

} // namespace
} // namespace longhand
