// The welcome window: its look, its timer and how it closes, alone and as
// the main window shows it at start-up and from Help, About.
#include "ui/splash/frmsplash.h"
#include "uitest.h"
#include "version.h"

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

bool holdsColour(const QImage& image, const QColor& colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour) return true;
    return false;
}

TEST(Splash, GreetsInYellowOnBlackWithTheStartUpPicture) {
    frmSplash splash;
    splash.show();
    EXPECT_EQ(splash.lblProductName->text(), "WELCOME TO THE FREE SOFTWARE");
    EXPECT_TRUE(splash.lblProductName->font().bold());
    EXPECT_TRUE(splash.Picture2->isVisibleTo(&splash));
    EXPECT_FALSE(splash.Picture1->isVisibleTo(&splash));
    EXPECT_EQ(splash.Picture2->pixmap().size(), QSize(186, 211));
    EXPECT_EQ(splash.Picture1->pixmap().size(), QSize(131, 172));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    const QImage greeting = splash.lblProductName->grab().toImage();
    EXPECT_TRUE(holdsColour(greeting, QColor(0xFF, 0xFF, 0)));
    EXPECT_EQ(greeting.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_TRUE(splash.Timer1->isActive());
    EXPECT_EQ(splash.Timer1->interval(), 1000);
}

TEST(Splash, HidesOnTheThirdTickAndStaysLoaded) {
    frmSplash splash;
    splash.show();
    splash.tick();
    splash.tick();
    EXPECT_TRUE(splash.isVisible());
    EXPECT_EQ(splash.tickCount, 2);
    splash.tick();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.unloaded());
    EXPECT_FALSE(splash.Timer1->isActive());
    EXPECT_EQ(splash.tickCount, 0);
}

TEST(Splash, AKeyUnloadsItButAModifierAloneDoesNot) {
    frmSplash splash;
    splash.show();
    QTest::keyClick(&splash, Qt::Key_Shift);
    EXPECT_TRUE(splash.isVisible());
    QTest::keyClick(&splash, Qt::Key_Space);
    EXPECT_FALSE(splash.isVisible());
    EXPECT_TRUE(splash.unloaded());
}

TEST(Splash, AClickOnTheFrameUnloadsIt) {
    frmSplash splash;
    splash.show();
    QTest::mouseClick(splash.Frame1, Qt::LeftButton, {}, QPoint(splash.Frame1->width() - 6, 6));
    EXPECT_TRUE(splash.unloaded());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_FALSE(splash.Timer1->isActive());
}

TEST(Splash, AClickOnAPictureOrTheTextDoesNothing) {
    frmSplash splash;
    splash.show();
    QTest::mouseClick(splash.Picture2, Qt::LeftButton);
    QTest::mouseClick(splash.lblProductName, Qt::LeftButton);
    splash.chooseAboutPicture();
    QTest::mouseClick(splash.Picture1, Qt::LeftButton);
    EXPECT_TRUE(splash.isVisible());
    EXPECT_FALSE(splash.unloaded());
    EXPECT_TRUE(splash.Timer1->isActive());
}

// Presses a key in the splash as soon as it is up.
void keyIntoSplashSoon(Form1& form) {
    QTimer::singleShot(50, &form, [&form] {
        if (form.splash() && form.splash()->isVisible())
            QTest::keyClick(form.splash(), Qt::Key_Return);
    });
}

TEST(SplashAtStartUp, AKeyEndsItAndTheOptionsAreReadAfterwards) {
    test::AppFolder folder;
    folder.write("rcnt.vok", "[Input Check]\nState=2\n");
    ScriptedPresenter presenter;
    RecordingSound sound;
    Form1 form(&presenter, &sound);
    bool splashFirst = false;
    QTimer::singleShot(20, &form, [&] {
        // While the splash is up the options are not read yet.
        splashFirst = form.splash() && form.splash()->isVisible() && form.iputFlag == 0 &&
                      form.splash()->Picture2->isVisibleTo(form.splash());
    });
    keyIntoSplashSoon(form);
    form.startUp();
    EXPECT_TRUE(splashFirst);
    EXPECT_EQ(form.splash(), nullptr); // unloaded by the key
    EXPECT_EQ(form.iputFlag, Form1::kInputCheckOnFlag);
    EXPECT_EQ(form.iputmnu->text(), "Disable Input-checking?");
}

TEST(SplashAtStartUp, WithoutInputItGoesOnTheThirdTickAndAboutBringsItBack) {
    test::AppFolder folder;
    ScriptedPresenter presenter;
    RecordingSound sound;
    Form1 form(&presenter, &sound);
    QElapsedTimer clock;
    clock.start();
    form.startUp(); // returns when the timer hides the splash
    EXPECT_GE(clock.elapsed(), 2 * frmSplash::kTickMs);
    ASSERT_NE(form.splash(), nullptr); // hidden, still loaded
    EXPECT_FALSE(form.splash()->isVisible());
    EXPECT_EQ(form.splash()->tickCount, 0);

    bool aboutPicture = false;
    QTimer::singleShot(20, &form, [&] {
        frmSplash* s = form.splash();
        aboutPicture = s && s->isVisible() && s->Timer1->isActive() &&
                       s->Picture1->isVisibleTo(s) && !s->Picture2->isVisibleTo(s);
    });
    keyIntoSplashSoon(form);
    form.aboutmnu->trigger();
    EXPECT_TRUE(aboutPicture);
    EXPECT_EQ(form.splash(), nullptr);
}

TEST(SplashAtStartUp, HelpAboutTellsTheVersion) {
    test::FormRig rig;
    Form1& form = *rig.form;
    QString shown;
    QTimer::singleShot(20, &form, [&] {
        frmSplash* s = form.splash();
        if (s && s->lblVersion->isVisibleTo(s)) shown = s->lblVersion->text();
    });
    keyIntoSplashSoon(form);
    form.aboutmnu->trigger();
    EXPECT_EQ(shown.toStdString(), std::string("Version ") + kVersion);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^Version [0-9]+\\.[0-9]+\\.[0-9]+$"))
                    .match(shown)
                    .hasMatch());
    // The start-up view keeps to its greeting.
    frmSplash fresh;
    fresh.show();
    EXPECT_FALSE(fresh.lblVersion->isVisibleTo(&fresh));
}

TEST(SplashAtStartUp, TheFunctionButtonUnloadsAHiddenSplash) {
    test::FormRig rig;
    Form1& form = *rig.form;
    QTimer::singleShot(20, &form, [&form] {
        for (int i = 0; i < frmSplash::kTicksShown; ++i)
            if (form.splash()) form.splash()->tick();
    });
    form.startUp();
    ASSERT_NE(form.splash(), nullptr);
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    EXPECT_EQ(form.splash(), nullptr);
}

} // namespace
} // namespace longhand
