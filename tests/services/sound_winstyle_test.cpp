#include "services/paths.h"
#include "services/sound.h"
#include "services/winstyle.h"
#include "tempdir.h"

#include <QApplication>
#include <QAudioDevice>
#include <QLabel>
#include <QLineEdit>
#include <QMediaDevices>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <gtest/gtest.h>

namespace longhand {
namespace {

// One application object for the whole test program, made on first use.
QApplication& app() {
    static int argc = 1;
    static char name[] = "services_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
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

TEST(SetExStyle, KeepsPlaceAndSizeAndSinksTheFrame) {
    app();
    QWidget parent;
    parent.resize(600, 400);
    auto* text = new QTextEdit(&parent);
    auto* plain = new QPlainTextEdit(&parent);
    auto* line = new QLineEdit(&parent);
    auto* label = new QLabel("picture", &parent);
    auto* bare = new QWidget(&parent);
    const QRect places[] = {{56, 40, 497, 103},
                            {56, 147, 497, 103},
                            {8, 8, 489, 25},
                            {10, 300, 131, 172},
                            {300, 300, 50, 50}};
    QWidget* widgets[] = {text, plain, line, label, bare};
    line->setFrame(false);
    for (int i = 0; i < 5; ++i)
        widgets[i]->setGeometry(places[i]);
    parent.show();
    QCoreApplication::processEvents();

    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        setExStyle(widgets[i]);
        QCoreApplication::processEvents();
        EXPECT_EQ(widgets[i]->geometry(), places[i]);
        // Brought to the top of its siblings.
        EXPECT_EQ(parent.children().last(), widgets[i]);
    }
    for (QFrame* frame :
         {static_cast<QFrame*>(text), static_cast<QFrame*>(plain), static_cast<QFrame*>(label)}) {
        EXPECT_EQ(frame->frameShape(), QFrame::StyledPanel);
        EXPECT_EQ(frame->frameShadow(), QFrame::Sunken);
    }
    EXPECT_TRUE(line->hasFrame());
    setExStyle(nullptr);
}

} // namespace
} // namespace longhand
