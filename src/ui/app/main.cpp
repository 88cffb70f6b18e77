// Longhand: a desktop calculator for exact decimal numbers of any length.
#include "ui/main/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Longhand"));
    QApplication::setDesktopFileName(QStringLiteral("longhand"));

    longhand::Form1 window;
    window.startUp();
    window.show();
    return QApplication::exec();
}
