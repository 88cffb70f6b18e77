// Longhand: a desktop calculator for exact decimal numbers of any length.
#include "services/paths.h"
#include "ui/common/application.h"
#include "ui/main/mainwindow.h"

#include <QIcon>

namespace {

constexpr const char* kIconFile = "longhand.png";

} // namespace

int main(int argc, char* argv[]) {
    longhand::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Longhand"));
    QApplication::setDesktopFileName(QStringLiteral("longhand"));
    QApplication::setWindowIcon(QIcon(QString::fromStdString(longhand::appFilePath(kIconFile))));

    longhand::MainWindow window;
    window.startUp();
    window.show();
    return QApplication::exec();
}
