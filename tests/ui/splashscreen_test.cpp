// The welcome window: its timer and how it closes, alone and as the main
// window shows it at start-up and from Help, About.
#include "ui/splash/splashscreen.h"
#include "uitest.h"
#include "version.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>

namespace longhand {
namespace {

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
    EXPECT_FALSE(splash.timer->isActive());
}

// At start-up the splash comes first and the options are read once it has
// gone: on the third tick of its timer it hides and stays loaded, until the
// Function button unloads it.
TEST(SplashAtStartUp, ItGoesOnTheThirdTickAndTheOptionsAreReadAfterwards) {
    test::AppFolder folder;
    folder.write("rcnt.vok", "[Input Check]\nState=2\n");
    test::ScriptedPresenter presenter;
    test::RecordingSound sound;
    MainWindow window(&presenter, &sound);
    bool splashFirst = false;
    QTimer::singleShot(20, &window, [&] {
        splashFirst = window.splash() && window.splash()->isVisible() &&
                      window.splash()->greeting->text() == "WELCOME TO THE FREE SOFTWARE" &&
                      window.options().inputCheck == InputCheck::Unset;
    });
    QElapsedTimer clock;
    clock.start();
    window.startUp(); // returns when the timer hides the splash
    EXPECT_GE(clock.elapsed(), 2 * SplashScreen::kTickMs);
    EXPECT_TRUE(splashFirst);
    EXPECT_EQ(window.options().inputCheck, InputCheck::On);
    ASSERT_NE(window.splash(), nullptr);
    EXPECT_FALSE(window.splash()->isVisible());
    test::click(ui(window).functionButton);
    EXPECT_EQ(window.splash(), nullptr);
}

TEST(SplashAtStartUp, HelpAboutShowsTheAboutPictureAndTheVersion) {
    test::WindowRig rig;
    MainWindow& window = *rig.window;
    QString version;
    QTimer::singleShot(50, &window, [&] {
        SplashScreen* s = window.splash();
        if (!s) return;
        if (s->timer->isActive() && s->aboutPicture->isVisibleTo(s) &&
            !s->startPicture->isVisibleTo(s) && s->versionLabel->isVisibleTo(s))
            version = s->versionLabel->text();
        QTest::keyClick(s, Qt::Key_Return);
    });
    ui(window).aboutAction->trigger();
    EXPECT_EQ(version.toStdString(), std::string("Version ") + kVersion);
    EXPECT_EQ(window.splash(), nullptr); // unloaded by the key
}

} // namespace
} // namespace longhand
