#include "services/settings.h"

#include "engine/numtext.h"
#include "services/inifile.h"
#include "services/paths.h"

#include <algorithm>

namespace longhand {

namespace {

std::string settingsPath() {
    return appFilePath(kSettingsFile);
}

// The value of an entry, at most `length` characters, "" when missing.
std::string readEntry(const char* section, const char* key, int length) {
    return readProfileString(section, key, "", length + 1, settingsPath());
}

int readState(const char* section) {
    return static_cast<int>(numericValue(readEntry(section, kStateKey, kStateReadLength)));
}

} // namespace

std::string readTextEntry(const std::string& key, int maxLen) {
    const int length =
        maxLen <= 0 ? kTextEntryDefaultLength : std::min(maxLen, kTextEntryMaxLength);
    return readProfileString(kTextSection, key, "", length + 1, settingsPath());
}

int readInputCheckState() {
    return readState(kInputCheckSection);
}

int readSoundState() {
    return readState(kSoundCheckSection);
}

std::string readFacUpper() {
    return doubleText(
        numericValue(readEntry(kRecentFactorialSection, kUpperKey, kUpperReadLength)));
}

bool writeInputCheckState(const std::string& value) {
    return writeProfileString(kInputCheckSection, kStateKey, value, settingsPath());
}

bool writeSoundState(const std::string& value) {
    return writeProfileString(kSoundCheckSection, kStateKey, value, settingsPath());
}

bool writeFacUpper(const std::string& value) {
    return writeProfileString(kRecentFactorialSection, kUpperKey, value, settingsPath());
}

} // namespace longhand
