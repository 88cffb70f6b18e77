// A number read from a text file into an operand box.
//
// Wrapped or grouped digits come in whole: blanks, tabs, line breaks and
// underscores are dropped wherever they stand (and a byte-order mark at the
// start). Commas are kept, since many countries write them as the decimal
// mark: such a file is refused, not misread. What is left must be a decimal
// number; it is checked once, as a whole.
#pragma once

#include "engine/progress.h"

#include <string>
#include <string_view>

namespace longhand {

// A byte-order mark: dropped at the start of a number file.
inline constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

// Bytes read between two looks at the Progress token.
inline constexpr std::size_t kFileReadChunk = std::size_t{1} << 20;

// Blank, tab, line break or underscore.
bool isFileFiller(char c);
// Drops every filler from `text`, in place.
void dropFileFillers(std::string& text);
// A number text with at least one digit: what an opened file must hold.
bool isDecimalNumber(std::string_view text);

struct NumberFile {
    enum class Status { Number, NotNumber, TooLong, CannotRead, Cancelled };
    Status status = Status::CannotRead;
    std::string text;   // Number: the number, fillers dropped
    std::string reason; // CannotRead: the system's words
};

// Reads the file at `path` in chunks of kFileReadChunk, dropping the
// fillers as it goes and reporting the share read to `progress` when the
// file's size is known. It gives up when `progress` is cancelled, at the
// first chunk that holds a byte no number has (so that a binary file is
// refused early), and once the number passes `maxLength` characters.
NumberFile readNumberFile(const std::string& path, std::size_t maxLength, Progress& progress);

// The refusals, naming the file.
std::string notANumberMessage(std::string_view path);
std::string cannotReadMessage(std::string_view path, std::string_view reason);

} // namespace longhand
