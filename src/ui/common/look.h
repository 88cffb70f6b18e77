// Sizes, colours and fonts of Longhand's windows.
//
// Window layouts are drawn in pixels at kLayoutDpi and scaled to the
// screen's logical resolution, so that they keep their proportions with the
// fonts, whose sizes are in points.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QLabel;
class QPushButton;
class QWidget;

namespace longhand {

inline constexpr qreal kLayoutDpi = 96.0;

// Colours of the windows.
inline constexpr QRgb kBlack = qRgb(0, 0, 0);
inline constexpr QRgb kRed = qRgb(255, 0, 0);
inline constexpr QRgb kYellow = qRgb(255, 255, 0);
inline constexpr QRgb kLightYellow = qRgb(255, 255, 128);
// The quiet text of the length lines.
inline constexpr QRgb kQuietGrey = qRgb(176, 176, 152);

// Point size of every font of the windows.
inline constexpr qreal kFontPoints = 9.75;

// A layout length in pixels at kLayoutDpi, for a screen of `dpi`.
int scaled(int pixels, qreal dpi);
QRect scaledRect(int left, int top, int width, int height, qreal dpi);
QSize scaledSize(int width, int height, qreal dpi);
// The logical resolution the widget is laid out with.
qreal logicalDpi(const QWidget* widget);

// The windows' default font, a plain sans-serif.
QFont plainFont();
// Buttons, labels and number boxes: a bold sans-serif.
QFont boldFont();
// The splash's greeting: a wider bold sans-serif.
QFont greetingFont();

// A button that draws its own background colour.
void paintButton(QPushButton* button, QRgb background);
// Label text and background colours.
void paintLabel(QLabel* label, QRgb text, QRgb background);
// A widget's background colour.
void paintBackground(QWidget* widget, QRgb colour);

} // namespace longhand
