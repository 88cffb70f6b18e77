// A fresh folder made the program's app folder for one test (settings,
// factorial store, help text), with the delivered settings file in it
// unless told otherwise.
#pragma once

#include "services/inifile.h"
#include "services/paths.h"
#include "support/tempdir.h"

#include <filesystem>
#include <optional>
#include <string>

namespace longhand::test {

class AppFolder : public TempDir {
  public:
    explicit AppFolder(bool deliveredSettings = true) {
        if (deliveredSettings)
            std::filesystem::copy_file(LONGHAND_DATA_DIR "/rcnt.vok", file(kSettingsFile));
        setAppFolder(path());
    }
    ~AppFolder() { setAppFolder("/nonexistent-longhand-folder"); }

    void write(const std::string& name, const std::string& bytes) const {
        writeBytes(file(name), bytes);
    }
    std::optional<std::string> read(const std::string& name) const { return readBytes(file(name)); }
    // A value of the settings file, or nothing when the key is missing.
    std::optional<std::string> setting(const std::string& section, const std::string& key) const {
        const std::string missing = "\x01missing";
        std::string value = readProfileString(section, key, missing, 256, file(kSettingsFile));
        if (value == missing) return std::nullopt;
        return value;
    }
};

} // namespace longhand::test
