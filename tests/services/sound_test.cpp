// The looping finished sound: it starts and stops on any machine, and stays
// silent where there is no audio output or no file.
#include "services/paths.h"
#include "services/sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <gtest/gtest.h>

namespace longhand {
namespace {

class Sound : public ::testing::Test {
  protected:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "services_tests";
        static char* argv[] = {name, nullptr};
        static auto* app = new QCoreApplication(argc, argv);
        (void)app;
        setAppFolder(executableFolder()); // where the build put 1.wav
    }
    void TearDown() override {
        stopSound();
        setAppFolder("/nonexistent-longhand-folder");
    }
    static bool haveAudio() { return !QMediaDevices::audioOutputs().isEmpty(); }
};

TEST_F(Sound, OneLoopUntilStoppedAndSilenceWithoutAudio) {
    playLoopSound("1.wav");
    playLoopSound("1.wav"); // replaces the loop
    QCoreApplication::processEvents();
    EXPECT_EQ(isSoundLooping(), haveAudio());
    stopSound();
    QCoreApplication::processEvents();
    EXPECT_FALSE(isSoundLooping());
}

TEST_F(Sound, AMissingFileIsSilent) {
    playLoopSound("no-such-sound.wav");
    QCoreApplication::processEvents();
    EXPECT_FALSE(isSoundLooping());
}

} // namespace
} // namespace longhand
