// libFuzzer target: the settings file's reader and writer on any bytes.
// One key is written into a file of fuzzed bytes; then
//   - a refused write leaves every byte as it was, and only names or values
//     that would break the layout are refused;
//   - an accepted write changes one stretch of the file that spans no line
//     break, and the key reads back as the value, blanks and quotes alike;
//   - every other key reads as it did before, and writing the same key
//     again changes nothing.
//
// Input layout: bytes 0 to 2 give the lengths of the section, key and value
// names, byte 3 picks the buffer size of a read; then the characters of
// section, key, value, a second section and key (to read before and after),
// and the rest is the file.
#include "fuzz_files.h"
#include "services/inifile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using longhand::fuzz::fail;
using longhand::fuzz::fileBytes;
using longhand::fuzz::putFile;

const std::string& filePath() {
    static const std::string path = longhand::fuzz::scratchFolder("inifile") + "/settings.vok";
    return path;
}

char nameChar(std::uint8_t byte) {
    static constexpr char kChars[] = "abcAB1 \t[];=#\"'\r\n\xc3\xa9_";
    return kChars[byte % (sizeof kChars - 1)];
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Names match without regard to ASCII case and the blanks around them.
bool sameName(std::string_view a, std::string_view b) {
    a = trim(a);
    b = trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

// What the layout can hold: no line break anywhere, no "]" in a section,
// no "=" in a key nor a key that reads as a section, comment or nothing.
bool writable(std::string_view section, std::string_view key, std::string_view value) {
    if (hasLineBreak(section) || hasLineBreak(key) || hasLineBreak(value)) return false;
    if (section.find(']') != std::string_view::npos || trim(section).empty()) return false;
    if (key.find('=') != std::string_view::npos || trim(key).empty()) return false;
    const char first = trim(key).front();
    return first != '[' && first != ';' && first != '#';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4 || size > 4096) return 0;
    const std::size_t lengths[] = {data[0] % 8u, data[1] % 8u, data[2] % 10u, 1u + data[0] / 64u,
                                   1u + data[1] / 64u};
    const int bufferSize = data[3] % 2 ? 4096 : data[3] / 2 - 8;
    std::size_t at = 4;
    std::string names[5];
    for (int i = 0; i < 5; ++i)
        for (std::size_t j = 0; j < lengths[i] && at < size; ++j)
            names[i] += nameChar(data[at++]);
    const std::string& section = names[0];
    const std::string& key = names[1];
    const std::string& value = names[2];
    const std::string_view before(reinterpret_cast<const char*>(data) + at, size - at);

    const std::string& path = filePath();
    putFile(path, before);
    const std::string missing = "\x01missing";
    const std::string otherBefore =
        longhand::readProfileString(names[3], names[4], missing, bufferSize, path);
    if (bufferSize < 1 && !otherBefore.empty()) fail("read past a buffer of no room", otherBefore);

    const bool written = longhand::writeProfileString(section, key, value, path);
    const std::string after = fileBytes(path);
    if (written != writable(section, key, value)) fail("write accepted or refused wrongly", value);
    if (!written) {
        if (after != before) fail("a refused write changed the file", after);
        return 0;
    }

    // One stretch changed, spanning no line break of the old file.
    std::size_t prefix = 0;
    while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix])
        ++prefix;
    std::size_t suffix = 0;
    while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    const std::string_view removed = before.substr(prefix, before.size() - prefix - suffix);
    if (removed.find('\n') != std::string_view::npos) fail("a write removed a line break", after);

    const std::string got = longhand::readProfileString(section, key, missing, 4096, path);
    if (got != value) fail("the key does not read back", got);
    if (!(sameName(section, names[3]) && sameName(key, names[4]))) {
        const std::string otherAfter =
            longhand::readProfileString(names[3], names[4], missing, bufferSize, path);
        if (otherAfter != otherBefore) fail("another key changed", otherAfter);
    }
    if (!longhand::writeProfileString(section, key, value, path) || fileBytes(path) != after)
        fail("writing the same value again changed the file", after);
    return 0;
}
