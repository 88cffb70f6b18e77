// The welcome window: its timer and how it closes, alone and as the main
// window shows it at start-up and from Help, About.
#include "ui/splash/splashscreen.h"
#include "uitest.h"
#include "version.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

TEST(SplashScreen, HidesOnTheThirdTickAndStaysLoaded) {
    SplashScreen splash;
    splash.show();
    EXPECT_EQ(splash.greeting->text(), "WELCOME TO THE FREE SOFTWARE");
    EXPECT_TRUE(splash.startPicture->isVisibleTo(&splash));
    EXPECT_FALSE(splash.aboutPicture->isVisibleTo(&splash));
    EXPECT_FALSE(splash.versionLabel->isVisibleTo(&splash));
    EXPECT_EQ(splash.timer->interval(), 1000);
    splash.tick();
    splash.tick();
    EXPECT_TRUE(splash.isVisible());
    splash.tick();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.unloaded());
    EXPECT_FALSE(splash.timer->isActive());
}

TEST(SplashScreen, AKeyOrAClickOnTheFrameUnloadsIt) {
    {
        SplashScreen splash;
        splash.show();
        QTest::keyClick(&splash, Qt::Key_Shift); // a modifier alone does nothing
        EXPECT_TRUE(splash.isVisible());
        QTest::keyClick(&splash, Qt::Key_Space);
        EXPECT_FALSE(splash.isVisible());
        EXPECT_TRUE(splash.unloaded());
    }
    SplashScreen splash;
    splash.show();
    splash.showAbout();
    // A click on a picture or the text does nothing.
    for (QWidget* part : {splash.startPicture, splash.aboutPicture, splash.greeting})
        test::click(part);
    EXPECT_FALSE(splash.unloaded());
    QTest::mouseClick(splash.frame, Qt::LeftButton, {}, QPoint(splash.frame->width() - 6, 6));
    EXPECT_TRUE(splash.unloaded());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.timer->isActive());
}

// Presses a key in the splash as soon as it is up.
void keyIntoSplashSoon(MainWindow& window) {
    QTimer::singleShot(50, &window, [&window] {
        if (window.splash() && window.splash()->isVisible())
            QTest::keyClick(window.splash(), Qt::Key_Return);
    });
}

TEST(SplashAtStartUp, AKeyEndsItAndTheOptionsAreReadAfterwards) {
    test::AppFolder folder;
    folder.write("rcnt.vok", "[Input Check]\nState=2\n");
    test::ScriptedPresenter presenter;
    test::RecordingSound sound;
    MainWindow window(&presenter, &sound);
    bool splashFirst = false;
    QTimer::singleShot(20, &window, [&] {
        splashFirst = window.splash() && window.splash()->isVisible() &&
                      window.inputCheck == InputCheck::Unset;
    });
    keyIntoSplashSoon(window);
    window.startUp();
    EXPECT_TRUE(splashFirst);
    EXPECT_EQ(window.splash(), nullptr); // unloaded by the key
    EXPECT_EQ(window.inputCheck, InputCheck::On);
}

TEST(SplashAtStartUp, ItGoesOnTheThirdTickAndAboutBringsItBackWithTheVersion) {
    test::AppFolder folder;
    test::ScriptedPresenter presenter;
    test::RecordingSound sound;
    MainWindow window(&presenter, &sound);
    QElapsedTimer clock;
    clock.start();
    window.startUp(); // returns when the timer hides the splash
    EXPECT_GE(clock.elapsed(), 2 * SplashScreen::kTickMs);
    ASSERT_NE(window.splash(), nullptr); // hidden, still loaded
    EXPECT_FALSE(window.splash()->isVisible());

    QString version;
    QTimer::singleShot(20, &window, [&] {
        SplashScreen* s = window.splash();
        if (s && s->isVisible() && s->timer->isActive() && s->aboutPicture->isVisibleTo(s) &&
            !s->startPicture->isVisibleTo(s) && s->versionLabel->isVisibleTo(s))
            version = s->versionLabel->text();
    });
    keyIntoSplashSoon(window);
    window.aboutAction->trigger();
    EXPECT_EQ(version.toStdString(), std::string("Version ") + kVersion);
    EXPECT_EQ(window.splash(), nullptr);
}

TEST(SplashAtStartUp, TheFunctionButtonUnloadsAHiddenSplash) {
    test::WindowRig rig;
    MainWindow& window = *rig.window;
    QTimer::singleShot(20, &window, [&window] {
        for (int i = 0; i < SplashScreen::kTicksShown; ++i)
            if (window.splash()) window.splash()->tick();
    });
    window.startUp();
    ASSERT_NE(window.splash(), nullptr);
    test::click(window.functionButton);
    EXPECT_EQ(window.splash(), nullptr);
}

} // namespace
} // namespace longhand
