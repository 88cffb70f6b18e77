#include "engine/factable.h"
#include "support/gmp.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace longhand {
namespace {

TEST(FactorialTable, OneToHundredInOrderWithEachStep) {
    int steps = 0;
    const std::vector<std::string> table =
        factorialTable(kFactorialTableTop, [&](int i, const std::string& f) {
            EXPECT_EQ(i, ++steps);
            EXPECT_EQ(f, test::gmpFactorial(static_cast<unsigned long>(i)));
        });
    EXPECT_EQ(steps, 100);
    ASSERT_EQ(table.size(), 100u);
    for (unsigned long i = 1; i <= 100; ++i)
        EXPECT_EQ(table[i - 1], test::gmpFactorial(i));
}

} // namespace
} // namespace longhand
