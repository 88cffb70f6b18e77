// Longhand: a desktop calculator for exact decimal numbers of any length.
#include "services/paths.h"
#include "ui/common/application.h"
#include "ui/common/move.h"
#include "ui/expression/expressionwindow.h"
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
    // The expression and history window, made on first use; its Move items
    // fill the main window's operand boxes.
    window.makeExpressionWindow = [&window]() -> QWidget* {
        using Box = longhand::ExpressionWindow::Box;
        auto putIntoBox = [&window](Box which, const std::string& text) {
            longhand::putIntoBox(which == Box::Upper ? *window.firstOperand : *window.secondOperand,
                                 text, window.presenter(), &window);
        };
        auto* expression = new longhand::ExpressionWindow(
            {window.presenter(), window.runner(), window.history(), putIntoBox}, &window);
        expression->setGroupSize(window.groupSize);
        return expression;
    };
    window.startUp();
    window.show();
    return QApplication::exec();
}
