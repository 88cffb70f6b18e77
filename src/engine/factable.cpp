#include "factable.h"

#include "multiply.h"

namespace longhand {

std::vector<std::string> factorialTable(int top, const FactorialStep& step) {
    std::vector<std::string> table;
    table.reserve(static_cast<std::size_t>(top > 0 ? top : 0));
    Progress progress; // a hundred short products: nothing to cancel
    std::string factorial = "1";
    for (int i = 1; i <= top; ++i) {
        factorial = multiply(factorial, std::to_string(i), progress);
        if (step) step(i, factorial);
        table.push_back(factorial);
    }
    return table;
}

} // namespace longhand
