// Helpers of the window tests: a main window over a private app folder,
// wired to a scripted presenter and a recording sound; and what the window
// tests use everywhere.
#pragma once

#include "support/app_folder.h"
#include "support/mainwindow_probe.h"
#include "support/window_doubles.h"
#include "ui/common/numberbox.h"
#include "ui/common/numberview.h"
#include "ui/common/outofmemory.h"
#include "ui/common/roundhint.h"
#include "ui/dialog/functiondialog.h"
#include "ui/main/mainwindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace longhand::test {

// The options are read as at start-up, without the splash, from the
// delivered settings file or from `settings`.
struct WindowRig {
    explicit WindowRig(const char* settings = nullptr) : folder(settings == nullptr) {
        if (settings) folder.write(kSettingsFile, settings);
        window = std::make_unique<MainWindow>(&presenter, &sound);
        window->readOptions();
        window->show();
    }

    AppFolder folder;
    ScriptedPresenter presenter;
    RecordingSound sound;
    std::unique_ptr<MainWindow> window;
};

inline void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
}

// A main window and a function dialog shown over it.
struct DialogRig : WindowRig {
    explicit DialogRig(FunctionMode mode) {
        dialog = std::make_unique<FunctionDialog>(window->context(), mode);
        dialog->show();
    }
    ~DialogRig() { dialog->close(); }

    std::string result() const { return dialog->resultView->text(); }
    std::string line() const { return dialog->argumentLine->text().toStdString(); }
    void compute(const QString& line) const {
        dialog->argumentLine->setText(line);
        click(dialog->computeButton);
    }

    std::unique_ptr<FunctionDialog> dialog;
};

} // namespace longhand::test
