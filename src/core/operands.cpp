#include "operands.h"

#include "engine/estimate.h"
#include "engine/fast/digit_chars.h"
#include "engine/fast/natural.h"
#include "engine/numtext.h"
#include "filetext.h"
#include "operandlimits.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <new>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace longhand {

namespace {

// One byte as a message shows it: printable ASCII as it is, anything else
// as \xNN, so that a stray control byte cannot garble the terminal.
void appendShown(std::string& out, unsigned char c) {
    if (c >= 0x20 && c < 0x7f) {
        out += static_cast<char>(c);
        return;
    }
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\x";
    out += kHex[c >> 4];
    out += kHex[c & 0xf];
}

// A typed operand for a message: control bytes escaped, cut after
// kShownOperandChars characters (never inside a UTF-8 sequence).
std::string shownOperand(std::string_view text) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool continuation = (c & 0xc0) == 0x80;
        if (!continuation && ++chars > kShownOperandChars) {
            out += "...";
            break;
        }
        if (c >= 0x80)
            out += static_cast<char>(c); // part of a UTF-8 character
        else
            appendShown(out, c);
    }
    return out;
}

// Checks a number text one byte at a time, as it streams in: a "-" only
// first, at most one ".", digits.
class NumberTextScanner {
  public:
    // Eight digits in a row, checked elsewhere.
    void acceptDigits() { started_ = true; }
    bool accepts(char c) {
        const bool first = !started_;
        started_ = true;
        if (c >= '0' && c <= '9') return true;
        if (c == '-') return first;
        if (c != '.' || point_) return false;
        point_ = true;
        return true;
    }

  private:
    bool started_ = false;
    bool point_ = false;
};

std::string tooLong(const std::string& name, std::uint64_t limitBytes) {
    return name + " is too long for the free memory: an operand may have at most " +
           std::to_string(limitBytes) + " bytes.";
}

std::string cannotRead(const std::string& name, int error) {
    return "Cannot read " + name + ": " + std::strerror(error) + ".";
}

// What is left under the address-space limit, or nothing without a limit.
std::optional<std::uint64_t> addressSpaceLeft() {
    rlimit limit{};
    if (getrlimit(RLIMIT_AS, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return std::nullopt;
    std::uint64_t pages = 0;
    std::ifstream("/proc/self/statm") >> pages; // the first field: the whole address space
    const std::uint64_t used = pages * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
    return limit.rlim_cur > used ? limit.rlim_cur - used : 0;
}

// Checks the bytes of an operand and packs the number's characters to the
// front of the text, in place: the wrapping and grouping of a file are
// left out, and a byte-order mark at its start. The bytes may come in
// several calls, as they are read.
class NumberPacker {
  public:
    // Packs text[from, end) after the kept() characters before it; the
    // refusal names the first byte that is not part of a number.
    std::optional<std::string> pack(std::string& text, std::size_t from, const std::string& name) {
        const std::size_t end = text.size();
        std::size_t i = from;
        if (read_ == 0 && std::string_view(text).substr(from, 3) == kByteOrderMark)
            i += kByteOrderMark.size();
        while (i < end) {
            // The digits, the bulk of any operand, go in runs: a file
            // without wrapping is one run, scanned on every thread.
            const std::size_t digits = fast::firstNonDigit(std::string_view(text).substr(i));
            const std::size_t run = digits == std::string_view::npos ? end - i : digits;
            if (run > 0) {
                scanner_.acceptDigits();
                if (kept_ != i) std::memmove(text.data() + kept_, text.data() + i, run);
                kept_ += run;
                i += run;
                continue;
            }
            const char c = text[i];
            if (!isFileFiller(c)) { // wrapping and grouping are left out
                if (!scanner_.accepts(c)) {
                    std::string where = name + ": \"";
                    appendShown(where, static_cast<unsigned char>(c));
                    return where + "\" at byte " + std::to_string(read_ + (i - from) + 1) +
                           " is not part of a decimal number " + kNumberForm;
                }
                text[kept_++] = c;
            }
            ++i;
        }
        read_ += end - from;
        text.resize(kept_);
        return std::nullopt;
    }
    std::size_t kept() const { return kept_; }

  private:
    NumberTextScanner scanner_;
    std::size_t kept_ = 0;   // characters of the number so far
    std::uint64_t read_ = 0; // bytes packed so far
};

Operand readOperand(std::FILE* stream, const std::string& name, std::uint64_t limitBytes) {
    Operand operand;
    struct stat st {};
    std::uint64_t expected = 0;
    if (fstat(fileno(stream), &st) == 0 && S_ISREG(st.st_mode)) {
        expected = static_cast<std::uint64_t>(st.st_size);
        if (expected > limitBytes) return {{}, tooLong(name, limitBytes)};
    }
    // A file of known size is read whole and then checked, in parallel
    // pieces; a stream is checked as it comes, so that a stream of
    // anything but a number is refused at its first wrong byte.
    const bool whole = expected > 0;
    try {
        operand.text.reserve(static_cast<std::size_t>(expected));
        // Faulted in on every thread rather than page by page as the
        // reading loop below fills it.
        if (expected >= fast::kLargeBytes)
            fast::prefault(operand.text.data(), static_cast<std::size_t>(expected));
        std::vector<char> chunk(kReadChunkBytes);
        NumberPacker packer;
        std::uint64_t read = 0;
        std::size_t n = 0;
        while ((n = std::fread(chunk.data(), 1, chunk.size(), stream)) > 0) {
            if (n > limitBytes - read) return {{}, tooLong(name, limitBytes)};
            read += n;
            operand.text.append(chunk.data(), n);
            if (whole) continue;
            if (auto refusal = packer.pack(operand.text, packer.kept(), name))
                return {{}, std::move(*refusal)};
        }
        if (std::ferror(stream)) return {{}, cannotRead(name, errno)};
        if (whole)
            if (auto refusal = packer.pack(operand.text, 0, name)) return {{}, std::move(*refusal)};
    } catch (const std::bad_alloc&) {
        return {{}, "Not enough memory to read " + name + "."};
    }
    return operand;
}

} // namespace

std::optional<std::string> typedOperandRefusal(std::string_view text) {
    if (isNumberText(text)) return std::nullopt;
    return "\"" + shownOperand(text) + "\" is not a decimal number " + kNumberForm;
}

std::optional<std::string> digitlessRefusal(const std::string& text, const std::string& name,
                                            bool fromFile) {
    if (isDecimalNumber(text)) return std::nullopt;
    const std::string what = fromFile ? name : "The operand " + name;
    if (text.empty()) return what + (fromFile ? " holds no number: it is empty." : " is empty.");
    return what + (fromFile ? " holds no number: only \"" : " is only \"") + text +
           "\", which has no digit.";
}

Operand readOperandFile(const std::string& path, std::uint64_t limitBytes) {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return {{}, cannotRead(path, errno)};
    Operand operand = readOperand(f, path, limitBytes);
    std::fclose(f);
    return operand;
}

Operand readOperandStream(std::FILE* stream, const std::string& name, std::uint64_t limitBytes) {
    return readOperand(stream, name, limitBytes);
}

std::uint64_t operandByteLimit() {
    std::optional<std::uint64_t> free = availableMemory();
    if (const std::optional<std::uint64_t> left = addressSpaceLeft())
        free = free ? std::min(*free, *left) : *left;
    return free ? *free / kOperandMemoryShare : kOperandBytesUnknownMemory;
}

} // namespace longhand
