// The table of the factorials 1! to 100! in the factorial data file format:
// records `n,"n!"` in ascending order, separated by CR LF, with no line end
// after the last record.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace longhand {

// The largest n of the generated table.
inline constexpr int kFactorialTableTop = 100;

// The phrase a caller must pass for the table to be written.
inline constexpr std::string_view kFactorialTableGuard = "Every day brings rain.";

// One record: n, a comma, n! in double quotes (no line end).
std::string factorialRecord(std::string_view n, std::string_view factorial);

// Called after each factorial i! (i from 1 to top) has been computed.
using FactorialStep = std::function<void(int i, const std::string& factorial)>;

// The whole table of 1! to top! (top >= 1), built in memory by one long
// multiplication per record.
std::string factorialTableText(int top = kFactorialTableTop, const FactorialStep& step = {});

} // namespace longhand
