#include "settings.h"

#include "engine/numtext.h"
#include "inifile.h"
#include "paths.h"
#include "store/history.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace longhand {

namespace {

// The [Text] section of the delivered settings file, word for word.
struct DeliveredText {
    std::string_view key;
    std::string_view text;
};
constexpr DeliveredText kDeliveredTexts[] = {
    {"c", "Combination"},
    {"f", "Factorial"},
    {"p", "Permutation"},
    {"w", "Power"},
    {"Clear", "m(m+1)(m+2)...(n) multiplies all whole numbers from M to N. The upper and lower "
              "boxes are emptied for it. Go on?"},
    {"instruct1", "Product of all whole numbers from M up to N."},
    {"instruct2", "Example: M = 3 and N = 5 give 3 x 4 x 5 = 60."},
    {"instruct3", "Type whole numbers only, with no sign or point. N must be larger than M."},
    {"instruct4", "A long run of numbers takes a while to multiply."},
    {"instruct5", "Enter M, the first number of the run, then press OK. N is asked for next."},
    {"1to100", "1! to 100! are in the store now."},
    {"facSave", "Keep this factorial in the store? n = "},
    {"move1", "Copy the result into a box."},
    {"move2", "1 = upper box"},
    {"move3", "2 = lower box. Any other answer, or Cancel, leaves both boxes as they are."},
};

bool sameKey(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

bool isBlank(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

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
    // The whole value first: a text is blank by all its characters, not by
    // the ones that survive the cut.
    const std::string value =
        readProfileString(kTextSection, key, "", std::numeric_limits<int>::max(), settingsPath());
    return leadingCharacters(isBlank(value) ? deliveredText(key) : std::string_view(value), length);
}

std::string_view deliveredText(std::string_view key) {
    for (const DeliveredText& entry : kDeliveredTexts)
        if (sameKey(entry.key, key)) return entry.text;
    return {};
}

int readInputCheckState() {
    return readState(kInputCheckSection);
}

int readSoundState() {
    return readState(kSoundCheckSection);
}

std::string readLargestStored() {
    return readEntry(kRecentFactorialSection, kUpperKey, kUpperReadLength);
}

int readGroupSize() {
    return static_cast<int>(
        numericValue(readEntry(kDigitGroupingSection, kGroupSizeKey, kGroupSizeReadLength)));
}

bool readKeepHistory() {
    return readEntry(kHistorySection, kKeepKey, kStateReadLength) != "0";
}

std::uint64_t readHistoryLimitBytes() {
    constexpr int kLimitReadLength = 9; // up to 999,999,999 MB
    const std::string text = readEntry(kHistorySection, kSizeLimitKey, kLimitReadLength);
    std::uint64_t megabytes = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), megabytes);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size())
        return kHistoryDefaultLimitBytes;
    return megabytes * 1000 * 1000;
}

bool writeInputCheckState(const std::string& value) {
    return writeProfileString(kInputCheckSection, kStateKey, value, settingsPath());
}

bool writeSoundState(const std::string& value) {
    return writeProfileString(kSoundCheckSection, kStateKey, value, settingsPath());
}

bool writeLargestStored(const std::string& value) {
    return writeProfileString(kRecentFactorialSection, kUpperKey, value, settingsPath());
}

bool writeKeepHistory(bool keep) {
    return writeProfileString(kHistorySection, kKeepKey, keep ? "1" : "0", settingsPath());
}

bool writeGroupSize(int size) {
    return writeProfileString(kDigitGroupingSection, kGroupSizeKey, std::to_string(size),
                              settingsPath());
}

} // namespace longhand
