#include "look.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QWidget>
#include <cmath>

namespace longhand {

int scaled(int pixels, qreal dpi) {
    return static_cast<int>(std::lround(pixels * dpi / kLayoutDpi));
}

QRect scaledRect(int left, int top, int width, int height, qreal dpi) {
    return {scaled(left, dpi), scaled(top, dpi), scaled(width, dpi), scaled(height, dpi)};
}

QSize scaledSize(int width, int height, qreal dpi) {
    return {scaled(width, dpi), scaled(height, dpi)};
}

qreal logicalDpi(const QWidget* widget) {
    const int dpi = widget ? widget->logicalDpiY() : 0;
    return dpi > 0 ? dpi : kLayoutDpi;
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

QString cssColour(QRgb colour) {
    return QColor(colour).name();
}

} // namespace

QFont plainFont() {
    return sansSerif({"DejaVu Sans", "Liberation Sans", "Noto Sans"}, false);
}

QFont boldFont() {
    return sansSerif({"DejaVu Sans", "Liberation Sans", "Noto Sans"}, true);
}

QFont greetingFont() {
    return sansSerif({"Arial", "Liberation Sans", "Noto Sans", "DejaVu Sans"}, true);
}

void paintButton(QPushButton* button, QRgb background) {
    const QColor face(background);
    button->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: black;"
                                         " border: 2px outset %2; }"
                                         " QPushButton:pressed { border-style: inset; }"
                                         " QPushButton:focus { border-color: %3; }")
                              .arg(face.name(), face.darker(130).name(), face.darker(200).name()));
}

void paintLabel(QLabel* label, QRgb text, QRgb background) {
    label->setStyleSheet(QStringLiteral("QLabel { color: %1; background-color: %2; }")
                             .arg(cssColour(text), cssColour(background)));
}

void paintBackground(QWidget* widget, QRgb colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(colour));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace longhand
