#include "engine/factable.h"
#include "support/gmp_factorial.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace longhand {
namespace {

using test::gmpFactorial;

TEST(FactorialTable, HoldsOneToHundredInOrder) {
    std::vector<int> steps;
    const std::vector<std::string> table =
        factorialTable(kFactorialTableTop, [&](int i, const std::string& f) {
            steps.push_back(i);
            EXPECT_EQ(f, gmpFactorial(static_cast<unsigned long>(i)));
        });
    ASSERT_EQ(steps.size(), 100u);
    EXPECT_EQ(steps.front(), 1);
    EXPECT_EQ(steps.back(), 100);
    ASSERT_EQ(table.size(), 100u);
    for (unsigned long i = 1; i <= 100; ++i)
        EXPECT_EQ(table[i - 1], gmpFactorial(i));
    EXPECT_EQ(table.back().size(), 158u);
    EXPECT_EQ(factorialTable(1), std::vector<std::string>{"1"});
    EXPECT_EQ(kFactorialTableGuard.size(), 22u);
}

} // namespace
} // namespace longhand
