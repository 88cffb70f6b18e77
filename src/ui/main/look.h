// Sizes, colours and fonts of Longhand's windows.
//
// Window layouts are drawn in twips (1/1440 inch): 15 twips make a pixel at
// 96 dpi, and the conversion follows the screen's logical resolution.
// Colours are written 0xBBGGRR, blue in the high byte.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>

class QLabel;
class QPushButton;
class QWidget;

namespace longhand {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr qreal kDefaultDpi = 96.0;

// Colours of the windows, 0xBBGGRR.
inline constexpr unsigned kBgrBlack = 0x000000;
inline constexpr unsigned kBgrWhite = 0xFFFFFF;
inline constexpr unsigned kBgrRed = 0x0000FF;
inline constexpr unsigned kBgrYellow = 0x00FFFF;
inline constexpr unsigned kBgrLightYellow = 0x80FFFF;

// Point size of every font of the windows.
inline constexpr qreal kFontPoints = 9.75;

int twipsToPixels(int twips, qreal dpi);
QRect twipsRect(int left, int top, int width, int height, qreal dpi);
QSize twipsSize(int width, int height, qreal dpi);
// The logical resolution the widget is laid out with.
qreal logicalDpi(const QWidget* widget);

QColor fromBgr(unsigned bgr);

// The windows' default font, a plain sans-serif.
QFont plainFont();
// Buttons, labels and number boxes: a bold sans-serif.
QFont boldFont();
// The splash's greeting: an Arial-like bold sans-serif.
QFont arialBoldFont();

// A button that draws its own background colour.
void paintButton(QPushButton* button, unsigned backgroundBgr);
// Label text and background colours.
void paintLabel(QLabel* label, unsigned textBgr, unsigned backgroundBgr);
// A widget's background colour.
void paintBackground(QWidget* widget, unsigned bgr);

} // namespace longhand
