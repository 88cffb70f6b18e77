// Helpers of the GUI tests: a private app folder per test and a main window
// wired to a scripted presenter and a recording sound.
#pragma once

#include "services/inifile.h"
#include "services/paths.h"
#include "ui/main/form1.h"
#include "ui/main/presenter.h"
#include "ui/main/soundport.h"

#include <QFile>
#include <QTemporaryDir>
#include <memory>
#include <optional>
#include <string>

namespace longhand::test {

// A fresh app folder, made the program's app folder while it lives. It
// starts with the delivered settings file unless told otherwise.
class AppFolder {
  public:
    explicit AppFolder(bool deliveredSettings = true) {
        if (deliveredSettings)
            QFile::copy(QStringLiteral(LONGHAND_DATA_DIR "/rcnt.vok"),
                        dir_.filePath(QStringLiteral("rcnt.vok")));
        setAppFolder(dir_.path().toStdString());
    }
    ~AppFolder() { setAppFolder("/nonexistent-longhand-folder"); }
    AppFolder(const AppFolder&) = delete;
    AppFolder& operator=(const AppFolder&) = delete;

    std::string path() const { return dir_.path().toStdString(); }
    std::string file(const std::string& name) const {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }
    void write(const std::string& name, const std::string& bytes) const {
        QFile out(QString::fromStdString(file(name)));
        if (out.open(QIODevice::WriteOnly | QIODevice::Truncate))
            out.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
    // A value of the settings file, or nothing when the key is missing.
    std::optional<std::string> setting(const std::string& section, const std::string& key) const {
        const std::string missing = "\x01missing";
        std::string value = readProfileString(section, key, missing, 256, file("rcnt.vok"));
        if (value == missing) return std::nullopt;
        return value;
    }

  private:
    QTemporaryDir dir_;
};

// A main window whose boxes are answered by a script and whose sound is a
// log. The options are read as at start-up, without the splash.
struct FormRig {
    explicit FormRig(bool deliveredSettings = true, bool show = true) : folder(deliveredSettings) {
        form = std::make_unique<Form1>(&presenter, &sound);
        form->readOptions();
        if (show) form->show();
    }

    AppFolder folder;
    ScriptedPresenter presenter;
    RecordingSound sound;
    std::unique_ptr<Form1> form;
};

} // namespace longhand::test
