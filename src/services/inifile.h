// Reading and writing single keys of an INI-format file.
//
// The layout is the usual one: "[section]" lines open sections, "key=value"
// lines hold entries, anything else (comments, blank lines) is kept but
// never matched. Section and key names match without regard to case (ASCII
// only), blanks (spaces and tabs) around names and values are ignored, and a
// value wrapped in a matching pair of double or single quotes is read
// without them, so a delivered text can keep a trailing blank.
//
// Every call opens, reads or replaces and closes the file; nothing is cached.
#pragma once

#include <string>
#include <string_view>

namespace longhand {

// The value of `key` in `section` of the file at `path`, cut to
// bufferSize - 1 leading characters (nothing when bufferSize < 1). Characters
// are counted in UTF-8, so a cut never splits one; a byte that is not part of
// a well-formed sequence counts as one character. A missing
// file, section or key gives `def`, cut the same way. When the file holds a
// section or a key more than once, the first one counts.
std::string readProfileString(const std::string& section, const std::string& key,
                              const std::string& def, int bufferSize, const std::string& path);

// The first `count` characters of `text` (nothing when count < 1), counted
// as readProfileString() counts them.
std::string leadingCharacters(std::string_view text, int count);

// Sets `key` in `section` to `value`. An existing key keeps its line, its
// spelling and the blanks around its value; only the value changes. A value
// with blanks around it, or wrapped in a pair of quotes, is written in
// double quotes, so that a read gives it back as it is. Names match as a
// read matches them (blanks around them left out). A missing key is added after the last entry of
// its section, a missing section (and file) is created at the end. Every other byte of the file,
// line endings included, stays as it was. The file is replaced in one
// rename, so a crash or a full disk never leaves it half-written.
// Returns false, and leaves the file untouched, when the file cannot be read
// or replaced, when it is read-only (no write permission bit set, or not
// writable for this user), or when a name or the value would break the layout (a line
// break anywhere, "=" or a leading "[" or ";" in a key, "]" in a section,
// an empty name).
bool writeProfileString(const std::string& section, const std::string& key,
                        const std::string& value, const std::string& path);

} // namespace longhand
