#include "look.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <cmath>

namespace longhand {

int twipsToPixels(int twips, qreal dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

QRect twipsRect(int left, int top, int width, int height, qreal dpi) {
    return {twipsToPixels(left, dpi), twipsToPixels(top, dpi), twipsToPixels(width, dpi),
            twipsToPixels(height, dpi)};
}

QSize twipsSize(int width, int height, qreal dpi) {
    return {twipsToPixels(width, dpi), twipsToPixels(height, dpi)};
}

qreal logicalDpi(const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiY() : 0;
    return dpi > 0 ? dpi : kDefaultDpi;
}

QColor fromBgr(unsigned bgr) {
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                  static_cast<int>((bgr >> 16) & 0xFF));
}

namespace {

QFont sansSerif(const QStringList& families, bool bold) {
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(kFontPoints);
    font.setBold(bold);
    return font;
}

QString cssColour(unsigned bgr) {
    return fromBgr(bgr).name();
}

} // namespace

QFont plainFont() {
    return sansSerif({"DejaVu Sans", "Liberation Sans", "Noto Sans"}, false);
}

QFont boldFont() {
    return sansSerif({"DejaVu Sans", "Liberation Sans", "Noto Sans"}, true);
}

QFont arialBoldFont() {
    return sansSerif({"Arial", "Liberation Sans", "Noto Sans", "DejaVu Sans"}, true);
}

void paintButton(QPushButton* button, unsigned backgroundBgr) {
    const QColor face = fromBgr(backgroundBgr);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black;"
                                         " border: 2px outset %2; }"
                                         " QPushButton:pressed { border-style: inset; }"
                                         " QPushButton:focus { border-color: %3; }")
                              .arg(face.name(), face.darker(130).name(), face.darker(200).name()));
}

void paintLabel(QLabel* label, unsigned textBgr, unsigned backgroundBgr) {
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; background-color: %2; }")
                             .arg(cssColour(textBgr), cssColour(backgroundBgr)));
}

void paintBackground(QWidget* widget, unsigned bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, fromBgr(bgr));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace longhand
