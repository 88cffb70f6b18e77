// On a dense screen (run again with QT_SCALE_FACTOR=2 and 1.5, tests
// "scale2." and "scale1.5."): the windows keep their layout in layout
// pixels, and the pictures and the result view fill every device pixel.
#include "ui/splash/splashscreen.h"
#include "uitest.h"

#include <QLabel>
#include <cmath>

namespace longhand {
namespace {

using test::WindowRig;

TEST(HighDpi, TheLayoutStaysAndThePicturesAreDrawnForTheScreen) {
    WindowRig rig;
    MainWindow& w = *rig.window;
    const qreal ratio = w.devicePixelRatioF();
    // The layout is the same whatever the scale.
    const qreal dpi = w.logicalDpiX();
    const struct {
        QWidget* widget;
        QRect at; // in layout pixels at 96 dpi
    } controls[] = {
        {w.firstOperand, {56, 40, 497, 103}},
        {w.resultView, {56, 256, 497, 103}},
        {w.multiplyButton, {409, 8, 67, 25}},
    };
    for (const auto& c : controls)
        EXPECT_EQ(c.widget->geometry(),
                  QRect(std::lround(c.at.x() * dpi / 96), std::lround(c.at.y() * dpi / 96),
                        std::lround(c.at.width() * dpi / 96),
                        std::lround(c.at.height() * dpi / 96)));

    // The result view is drawn in device pixels.
    w.resultView->setText("3.14159");
    const QPixmap shot = w.resultView->grab();
    EXPECT_EQ(shot.devicePixelRatio(), ratio);
    EXPECT_EQ(shot.width(), std::lround(w.resultView->width() * ratio));

    // The splash pictures: twice the pixels on a dense screen, the same
    // size in the layout.
    SplashScreen splash;
    splash.show();
    for (QLabel* picture : {splash.startPicture, splash.aboutPicture}) {
        const QPixmap shown = picture->pixmap();
        EXPECT_EQ(shown.devicePixelRatio(), ratio > 1 ? 2.0 : 1.0);
    }
    EXPECT_EQ(splash.startPicture->pixmap().deviceIndependentSize().toSize(), QSize(186, 211));
    EXPECT_EQ(splash.aboutPicture->pixmap().deviceIndependentSize().toSize(), QSize(131, 172));
}

} // namespace
} // namespace longhand
