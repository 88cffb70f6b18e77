#include "inifile.h"

#include "store/filestore.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace longhand {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i])) return false;
    return true;
}

// A half-open range of byte positions in the file's text.
struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    bool empty() const { return begin == end; }
};

Span trimmed(std::string_view text, std::size_t begin, std::size_t end) {
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return {begin, end};
}

std::string_view slice(std::string_view text, Span s) {
    return text.substr(s.begin, s.end - s.begin);
}

// One line: its content [begin, end) without the line ending, and the start
// of the next line (the file's size for the last line).
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    bool hasEnding() const { return next > end; }
};

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    Span name;
    Span value; // entries only: the value without surrounding blanks
};

ParsedLine parseLine(std::string_view text, const Line& line) {
    const Span t = trimmed(text, line.begin, line.end);
    if (t.empty()) return {};
    const char first = text[t.begin];
    if (first == '[') {
        const std::size_t close = text.substr(0, t.end).find(']', t.begin + 1);
        if (close == std::string_view::npos) return {};
        return {LineKind::Section, trimmed(text, t.begin + 1, close), {}};
    }
    if (first == ';' || first == '#') return {};
    const std::size_t eq = text.substr(0, t.end).find('=', t.begin);
    if (eq == std::string_view::npos) return {};
    const Span name = trimmed(text, t.begin, eq);
    if (name.empty()) return {};
    return {LineKind::Entry, name, trimmed(text, eq + 1, t.end)};
}

// Walks the file's lines in order. A byte-order mark before the first line
// is not part of it.
class LineReader {
  public:
    explicit LineReader(std::string_view text)
        : text_(text), pos_(text.substr(0, kUtf8Bom.size()) == kUtf8Bom ? kUtf8Bom.size() : 0) {}

    bool next(Line& line) {
        if (pos_ >= text_.size()) return false;
        const std::size_t nl = text_.find('\n', pos_);
        line.begin = pos_;
        if (nl == std::string_view::npos) {
            line.end = line.next = text_.size();
        } else {
            line.end = (nl > pos_ && text_[nl - 1] == '\r') ? nl - 1 : nl;
            line.next = nl + 1;
        }
        pos_ = line.next;
        return true;
    }

  private:
    std::string_view text_;
    std::size_t pos_;
};

// What a lookup finds: the value's span when the key exists, otherwise
// where a new entry of the section would go.
struct Lookup {
    bool sectionFound = false;
    bool keyFound = false;
    Span value;
    Line lastOfSection; // the section's last entry line, or its header line
};

Lookup find(std::string_view text, std::string_view section, std::string_view key) {
    // The blanks around a name are not part of it, in the file or here.
    section = slice(section, trimmed(section, 0, section.size()));
    key = slice(key, trimmed(key, 0, key.size()));
    Lookup found;
    LineReader reader(text);
    Line line;
    bool inSection = false;
    while (reader.next(line)) {
        const ParsedLine parsed = parseLine(text, line);
        if (parsed.kind == LineKind::Section) {
            // Only the first section of that name counts.
            if (found.sectionFound) break;
            inSection = sameName(slice(text, parsed.name), section);
            if (inSection) {
                found.sectionFound = true;
                found.lastOfSection = line;
            }
        } else if (parsed.kind == LineKind::Entry && inSection) {
            found.lastOfSection = line;
            if (sameName(slice(text, parsed.name), key)) {
                found.keyFound = true;
                found.value = parsed.value;
                return found;
            }
        }
    }
    return found;
}

// The line ending the file already uses (its first one); "\n" for a file
// without any.
std::string_view lineEnding(std::string_view text) {
    const std::size_t nl = text.find('\n');
    if (nl != std::string_view::npos && nl > 0 && text[nl - 1] == '\r') return "\r\n";
    return "\n";
}

// The line end that closes the file's last line before more is added:
// `eol`, or CR LF after a lone CR, which a LF alone would turn into the
// line's ending and take from the line's value.
std::string_view lineEndAfter(std::string_view text, std::string_view eol) {
    return !text.empty() && text.back() == '\r' ? "\r\n" : eol;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool validSection(std::string_view section) {
    if (hasLineBreak(section) || section.find(']') != std::string_view::npos) return false;
    return !trimmed(section, 0, section.size()).empty();
}

bool validKey(std::string_view key) {
    if (hasLineBreak(key) || key.find('=') != std::string_view::npos) return false;
    const Span t = trimmed(key, 0, key.size());
    if (t.empty()) return false;
    const char first = key[t.begin];
    return first != '[' && first != ';' && first != '#';
}

// True for a value wrapped in a matching pair of quotes, which a read
// takes off.
bool isQuoted(std::string_view value) {
    return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
           value.back() == value.front();
}

// The value as the file holds it, so that a read gives it back as it is: a
// value with blanks around it, or one a read would take quotes off, goes in
// double quotes; any other as it is.
std::string storedValue(std::string_view value) {
    const bool blanks = !value.empty() && (isBlank(value.front()) || isBlank(value.back()));
    if (!blanks && !isQuoted(value)) return std::string(value);
    std::string quoted = "\"";
    quoted += value;
    quoted += '"';
    return quoted;
}

// Bytes of the UTF-8 character that starts at `at`: its lead byte and the
// continuation bytes that follow. A byte that starts no well-formed sequence
// (a stray continuation byte, a lead byte cut short, an 8-bit code page
// character) counts as a character of its own.
std::size_t characterLength(std::string_view s, std::size_t at) {
    const auto lead = static_cast<unsigned char>(s[at]);
    std::size_t length = 1;
    if ((lead & 0xE0) == 0xC0)
        length = 2;
    else if ((lead & 0xF0) == 0xE0)
        length = 3;
    else if ((lead & 0xF8) == 0xF0)
        length = 4;
    if (at + length > s.size()) return 1;
    for (std::size_t i = 1; i < length; ++i)
        if ((static_cast<unsigned char>(s[at + i]) & 0xC0) != 0x80) return 1;
    return length;
}

std::string cut(std::string_view s, int bufferSize) {
    return leadingCharacters(s, bufferSize - 1);
}

// The file a write goes to: the target of a symbolic link, so that renaming
// the new file into place keeps the link.
std::string writeTarget(const std::string& path) {
    std::error_code ec;
    if (std::filesystem::is_symlink(path, ec)) {
        const std::filesystem::path target = std::filesystem::canonical(path, ec);
        if (!ec) return target.string();
    }
    return path;
}

// A file marked read-only stays as it is, even for a user whom the
// permissions would let through (root): a rename would replace it anyway.
bool isReadOnlyFile(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0;
}

} // namespace

std::string leadingCharacters(std::string_view text, int count) {
    std::size_t end = 0;
    for (int kept = 0; kept < count && end < text.size(); ++kept)
        end += characterLength(text, end);
    return std::string(text.substr(0, end));
}

std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& def, int bufferSize, const std::string& path) {
    const std::optional<std::string> text = readWholeFile(path);
    if (!text) return cut(def, bufferSize);
    const Lookup found = find(*text, section, key);
    if (!found.keyFound) return cut(def, bufferSize);
    std::string_view value = slice(*text, found.value);
    if (isQuoted(value)) value = value.substr(1, value.size() - 2);
    return cut(value, bufferSize);
}

bool writeProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path) {
    if (!validSection(section) || !validKey(key) || hasLineBreak(value)) return false;

    const std::string target = writeTarget(path);
    if (isReadOnlyFile(target)) return false;
    std::string text;
    if (std::optional<std::string> old = readWholeFile(target)) {
        text = std::move(*old);
    } else {
        // Only a file that is not there may start empty; one that exists but
        // cannot be read must not be replaced by a file holding one key.
        std::error_code ec;
        const bool exists = std::filesystem::exists(target, ec);
        if (exists || ec) return false;
    }

    const std::string stored = storedValue(value);
    const Lookup found = find(text, section, key);
    std::string updated;
    if (found.keyFound) {
        if (slice(text, found.value) == stored) return true;
        updated.reserve(text.size() + stored.size());
        updated.append(text, 0, found.value.begin);
        updated += stored;
        updated.append(text, found.value.end);
    } else {
        const std::string_view eol = lineEnding(text);
        const std::string entry = key + "=" + stored;
        if (found.sectionFound) {
            const Line& after = found.lastOfSection;
            updated.reserve(text.size() + entry.size() + eol.size());
            updated.append(text, 0, after.next);
            if (after.hasEnding()) {
                updated += entry;
                updated += eol;
            } else {
                // The section ends the file without a line ending: keep it so.
                updated += lineEndAfter(updated, eol);
                updated += entry;
            }
            updated.append(text, after.next);
        } else {
            updated = text;
            if (!updated.empty()) {
                if (updated.back() != '\n') updated += lineEndAfter(updated, eol);
                updated += eol;
            }
            updated += "[" + section + "]";
            updated += eol;
            updated += entry;
            updated += eol;
        }
    }
    return replaceFileAtomically(target, updated);
}

} // namespace longhand
