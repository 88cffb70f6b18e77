#include "filetext.h"

#include "engine/numtext.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>
#include <vector>

namespace longhand {

namespace {

bool mayBeInNumber(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '.';
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

} // namespace

bool isFileFiller(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '_';
}

void dropFileFillers(std::string& text) {
    text.erase(std::remove_if(text.begin(), text.end(), isFileFiller), text.end());
}

bool isDecimalNumber(std::string_view text) {
    return isNumberText(text) && text.find_first_of("0123456789") != std::string_view::npos;
}

NumberFile readNumberFile(const std::string& path, std::size_t maxLength, Progress& progress) {
    NumberFile file;
    const std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
    if (!f) {
        file.reason = std::strerror(errno);
        return file;
    }
    struct stat st {};
    const bool sized = fstat(fileno(f.get()), &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0;
    const auto size = sized ? static_cast<std::size_t>(st.st_size) : 0;
    file.text.reserve(std::min(size, maxLength));

    // fread fills what is read: the chunk needs no clearing first, so a
    // short file touches few of its pages.
    const std::unique_ptr<char[]> chunk = std::make_unique_for_overwrite<char[]>(kFileReadChunk);
    std::size_t read = 0;
    std::size_t n = 0;
    while ((n = std::fread(chunk.get(), 1, kFileReadChunk, f.get())) > 0) {
        if (progress.cancelled()) {
            file.status = NumberFile::Status::Cancelled;
            return file;
        }
        std::string_view bytes(chunk.get(), n);
        if (read == 0 && bytes.substr(0, kByteOrderMark.size()) == kByteOrderMark)
            bytes.remove_prefix(kByteOrderMark.size());
        read += n;
        const std::size_t start = file.text.size();
        file.text.resize(start + bytes.size());
        const auto kept = file.text.begin() + static_cast<std::ptrdiff_t>(start);
        file.text.erase(std::remove_copy_if(bytes.begin(), bytes.end(), kept, isFileFiller),
                        file.text.end());
        if (!std::all_of(kept, file.text.end(), mayBeInNumber)) {
            file.status = NumberFile::Status::NotNumber;
            file.text.clear();
            return file;
        }
        if (file.text.size() > maxLength) {
            file.status = NumberFile::Status::TooLong;
            file.text.clear();
            return file;
        }
        if (sized) progress.report(std::min(1.0, static_cast<double>(read) / size));
    }
    if (std::ferror(f.get())) {
        file.reason = std::strerror(errno);
        file.text.clear();
        return file;
    }
    if (progress.cancelled()) {
        file.status = NumberFile::Status::Cancelled;
        return file;
    }
    file.status =
        isDecimalNumber(file.text) ? NumberFile::Status::Number : NumberFile::Status::NotNumber;
    if (file.status != NumberFile::Status::Number) file.text.clear();
    return file;
}

// The messages are put together with += (an operator+ chain on a literal
// trips a false -Wrestrict of GCC 12 in optimised builds).
std::string notANumberMessage(std::string_view path) {
    std::string message = "\"";
    message += path;
    message += "\" does not hold a decimal number. A number is digits with at most one \".\" as "
               "its decimal mark (not \",\") and an optional leading \"-\"; blanks, tabs, line "
               "breaks and underscores may stand anywhere.";
    return message;
}

std::string cannotReadMessage(std::string_view path, std::string_view reason) {
    std::string message = "Cannot read \"";
    message += path;
    message += "\": ";
    message += reason;
    message += ".";
    return message;
}

} // namespace longhand
