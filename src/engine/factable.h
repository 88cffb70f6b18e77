// The table of the factorials 1! to 100!, which the store takes in place of
// its records 1 to 100.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace longhand {

// The largest n of the generated table.
inline constexpr int kFactorialTableTop = 100;

// The phrase a caller must pass for the table to be written.
inline constexpr std::string_view kFactorialTableGuard = "Every day brings rain.";

// Called after each factorial i! (i from 1 to top) has been computed.
using FactorialStep = std::function<void(int i, const std::string& factorial)>;

// 1! to top! (top >= 1) in order, by one multiplication each.
std::vector<std::string> factorialTable(int top = kFactorialTableTop,
                                        const FactorialStep& step = {});

} // namespace longhand
