// Helpers of the window tests: a main window over a private app folder,
// wired to a scripted presenter and a recording sound.
#pragma once

#include "support/app_folder.h"
#include "support/window_doubles.h"
#include "ui/main/mainwindow.h"

#include <QTest>
#include <memory>

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

} // namespace longhand::test
