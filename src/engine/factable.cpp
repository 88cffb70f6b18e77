#include "factable.h"

#include "multiply.h"

namespace longhand {

std::string factorialRecord(std::string_view n, std::string_view factorial) {
    std::string record;
    record.reserve(n.size() + factorial.size() + 3);
    record.append(n).append(",\"").append(factorial).push_back('"');
    return record;
}

std::string factorialTableText(int top, const FactorialStep& step) {
    std::string table;
    std::string factorial = "1";
    for (int i = 1; i <= top; ++i) {
        factorial = bigMultifly(factorial, std::to_string(i));
        if (step) step(i, factorial);
        if (i > 1) table += "\r\n";
        table += factorialRecord(std::to_string(i), factorial);
    }
    return table;
}

} // namespace longhand
