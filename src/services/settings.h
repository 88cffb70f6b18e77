// The entries of the settings file "rcnt.vok" that Longhand reads and writes.
//
// Each call reads or writes one key of the file in the app folder
// (appFilePath), with nothing cached: a change made by hand between two
// calls is seen by the second one. Writes return whether the file now holds
// the value; a failed write leaves the file as it was.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace longhand {

// Sections and keys of the settings file.
inline constexpr const char* kInputCheckSection = "Input Check";
inline constexpr const char* kSoundCheckSection = "Sound Check";
inline constexpr const char* kStateKey = "State";
inline constexpr const char* kRecentFactorialSection = "Recent Factorial";
inline constexpr const char* kUpperKey = "Upper";
inline constexpr const char* kTextSection = "Text";
inline constexpr const char* kDigitGroupingSection = "Digit Grouping";
inline constexpr const char* kGroupSizeKey = "Size";
inline constexpr const char* kHistorySection = "History";
inline constexpr const char* kKeepKey = "Keep";
inline constexpr const char* kSizeLimitKey = "Size Limit MB";

// Read sizes: the longest value each reader takes.
inline constexpr int kTextEntryDefaultLength = 19;
inline constexpr int kTextEntryMaxLength = 255;
inline constexpr int kStateReadLength = 1;
inline constexpr int kUpperReadLength = 16;
inline constexpr int kGroupSizeReadLength = 2;

// Values of the two option states.
inline constexpr int kInputCheckOff = 1;
inline constexpr int kInputCheckOn = 2;
inline constexpr int kSoundOn = 0;
inline constexpr int kSoundOff = 1;

// One entry of the [Text] section, at most maxLen characters (19 when maxLen
// is 0; limits are taken between 0 and 255), counted in UTF-8 so that a cut
// never splits a character. An entry that is missing (with its file or
// section) or blank gives the text delivered for its key instead, cut the
// same way: no edit of the file can leave a window without its words.
std::string readTextEntry(const std::string& key, int maxLen);

// The text delivered for `key` (matched without regard to case) in the
// [Text] section of the settings file that comes with Longhand; "" for a
// key it does not hold.
std::string_view deliveredText(std::string_view key);

// [Input Check] State and [Sound Check] State, judged by their first
// character: the numeric value of that character, 0 when it is not a digit
// or the entry is missing. So a stored "10" reads as 1 and "2" as 2.
int readInputCheckState();
int readSoundState();

// [Recent Factorial] Upper: the largest n the factorial store holds, as the
// store last told it (its first 16 characters, "" when missing). Only the
// store's own word is ever written there; nothing reads it as a number.
std::string readLargestStored();

// [Digit Grouping] Size: the digits between two gaps in the result views,
// its first two characters read as a number; 0 (no grouping) when missing.
int readGroupSize();

// [History] Keep: whether results are kept in the history; on unless the
// entry is "0".
bool readKeepHistory();
// [History] Size Limit MB: the most the history may take, in bytes; the
// history's default when the entry is missing or not a whole number, no
// limit (0) for "0".
std::uint64_t readHistoryLimitBytes();

bool writeInputCheckState(const std::string& value);
bool writeSoundState(const std::string& value);
bool writeLargestStored(const std::string& value);
bool writeGroupSize(int size);
bool writeKeepHistory(bool keep);

} // namespace longhand
