#include "services/paths.h"
#include "services/sound.h"
#include "support/tempdir.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QMediaDevices>
#include <gtest/gtest.h>

namespace longhand {
namespace {

// One application object for the whole test program, made on first use.
QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "services_tests";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* instance = new QCoreApplication(argc, argv);
    return *instance;
}

class Sound : public ::testing::Test {
  protected:
    void SetUp() override {
        app();
        setAppFolder(executableFolder()); // where the build put 1.wav
    }
    void TearDown() override {
        stopSound("");
        setAppFolder("/nonexistent-longhand-folder");
    }
    static bool haveAudio() { return !QMediaDevices::audioOutputs().isEmpty(); }
};

// Headless machines have no audio output: the calls must still return and
// leave nothing playing.
TEST_F(Sound, PlayAndStopReturnWithoutAudio) {
    playLoopSound("1.wav");
    QCoreApplication::processEvents();
    playLoopSound("1.wav");
    QCoreApplication::processEvents();
    if (!haveAudio()) {
        EXPECT_FALSE(isSoundLooping());
    }
    stopSound("1.wav");
    QCoreApplication::processEvents();
    EXPECT_FALSE(isSoundLooping());
}

TEST_F(Sound, AMissingFileIsSilent) {
    playLoopSound("no-such-sound.wav");
    QCoreApplication::processEvents();
    EXPECT_FALSE(isSoundLooping());
    playLoopSound("");
    EXPECT_FALSE(isSoundLooping());
}

TEST_F(Sound, StopWithoutPlayIsHarmless) {
    stopSound("");
    stopSound(" ");
    stopSound("1.wav");
    EXPECT_FALSE(isSoundLooping());
}

TEST_F(Sound, OneLoopWhateverStopsIt) {
    if (!haveAudio()) GTEST_SKIP() << "no audio output on this machine";
    for (const char* stopName : {"1.wav", "", " "}) {
        SCOPED_TRACE(std::string("stopSound(\"") + stopName + "\")");
        playLoopSound("1.wav");
        playLoopSound("1.wav");
        EXPECT_TRUE(isSoundLooping());
        stopSound(stopName);
        EXPECT_FALSE(isSoundLooping());
    }
}

} // namespace
} // namespace longhand
