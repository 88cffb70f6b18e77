// Longhand: a desktop calculator for exact decimal numbers of any length.
#include "services/paths.h"
#include "ui/main/application.h"
#include "ui/main/form1.h"

#include <QIcon>

namespace {

constexpr const char* kIconFile = "longhand.png";

} // namespace

int main(int argc, char* argv[]) {
    longhand::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Longhand"));
    QApplication::setDesktopFileName(QStringLiteral("longhand"));
    QApplication::setWindowIcon(QIcon(QString::fromStdString(longhand::appFilePath(kIconFile))));

    longhand::Form1 window;
    window.startUp();
    window.show();
    return QApplication::exec();
}
