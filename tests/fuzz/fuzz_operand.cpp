// libFuzzer target: a number read from a file, by the windows' Open
// (readNumberFile) and by longhand-calc's @FILE and @- operands, on any
// bytes. Both drop a byte-order mark at the start and blanks, tabs, line
// breaks and underscores anywhere; what is left must be a decimal number.
// Each reader must give exactly those bytes for a number that fits its
// limit and refuse everything else, and the two must agree.
//
// Input layout: byte 0 picks the limits (the longest number for the
// window, the most bytes for the command line), the rest is the file.
#include "core/filetext.h"
#include "core/operands.h"
#include "fuzz_files.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

using longhand::fuzz::fail;

const std::string& filePath() {
    static const std::string path = longhand::fuzz::scratchFolder("operand") + "/number.txt";
    return path;
}

// The bytes without a leading byte-order mark and without fillers.
std::string numberPart(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    std::string kept;
    for (char c : bytes)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '_') kept += c;
    return kept;
}

// An optional leading "-", digits and at most one "."; `digit`: at least
// one digit.
bool isNumber(std::string_view s, bool digit) {
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    bool point = false, seen = false;
    for (char c : s) {
        if (c == '.' && !point)
            point = true;
        else if (c >= '0' && c <= '9')
            seen = true;
        else
            return false;
    }
    return seen || !digit;
}

void checkCommandLine(const longhand::Operand& got, std::string_view bytes,
                      const std::string& number, std::uint64_t limit) {
    if (got.refusal.empty()) {
        if (got.text != number || !isNumber(number, false))
            fail("command line: not the number", got.text);
        if (bytes.size() > limit) fail("command line: past its limit", got.text);
    } else if (isNumber(number, true) && bytes.size() <= limit) {
        fail("command line refused a number", got.refusal);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1 || size > 8192) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool small = data[0] & 1;
    const std::size_t maxLength = small ? data[0] / 8 : std::size_t{1} << 20;
    const std::uint64_t limit = small ? data[0] / 2 : std::uint64_t{1} << 20;
    const std::string& path = filePath();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    const std::string number = numberPart(bytes);
    const bool isDecimal = isNumber(number, true);

    longhand::Progress progress;
    const longhand::NumberFile file = longhand::readNumberFile(path, maxLength, progress);
    using Status = longhand::NumberFile::Status;
    switch (file.status) {
    case Status::Number:
        if (file.text != number) fail("Open: not the number", file.text);
        if (number.size() > maxLength) fail("Open: past its limit", file.text);
        break;
    case Status::TooLong:
        if (number.size() <= maxLength) fail("Open: too long below its limit", number);
        break;
    case Status::NotNumber:
        if (isDecimal && number.size() <= maxLength) fail("Open refused a number", number);
        break;
    default:
        fail("Open: could not read", file.reason);
    }

    checkCommandLine(longhand::readOperandFile(path, limit), bytes, number, limit);
    std::FILE* stream = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
    if (!bytes.empty() && stream) {
        checkCommandLine(longhand::readOperandStream(stream, "standard input", limit), bytes,
                         number, limit);
        std::fclose(stream);
    } else if (stream) {
        std::fclose(stream);
    }
    return 0;
}
