#include "engine/factable.h"

#include <gmp.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace longhand {
namespace {

std::vector<std::string> splitRecords(const std::string& text) {
    std::vector<std::string> records;
    std::size_t start = 0;
    for (;;) {
        auto end = text.find("\r\n", start);
        records.push_back(text.substr(start, end - start));
        if (end == std::string::npos) break;
        start = end + 2;
    }
    return records;
}

std::string gmpFactorial(unsigned long n) {
    mpz_t f;
    mpz_init(f);
    mpz_fac_ui(f, n);
    char* s = mpz_get_str(nullptr, 10, f);
    std::string out(s);
    free(s);
    mpz_clear(f);
    return out;
}

TEST(FactorialTable, HoldsOneToHundredInTheDataFileFormat) {
    std::vector<int> steps;
    std::string table = factorialTableText(kFactorialTableTop, [&](int i, const std::string& f) {
        steps.push_back(i);
        EXPECT_EQ(f, gmpFactorial(static_cast<unsigned long>(i)));
    });
    ASSERT_EQ(steps.size(), 100u);
    EXPECT_EQ(steps.front(), 1);
    EXPECT_EQ(steps.back(), 100);

    EXPECT_EQ(table.rfind("1,\"1\"\r\n2,\"2\"\r\n3,\"6\"\r\n", 0), 0u);
    EXPECT_EQ(table.back(), '"'); // no line end after the last record
    EXPECT_EQ(table.find('\n'), table.find("\r\n") + 1);

    auto records = splitRecords(table);
    ASSERT_EQ(records.size(), 100u);
    for (unsigned long i = 1; i <= 100; ++i) {
        EXPECT_EQ(records[i - 1], std::to_string(i) + ",\"" + gmpFactorial(i) + "\"");
    }
    const std::string& last = records.back();
    EXPECT_EQ(last.size(), std::string("100,\"\"").size() + 158);
    EXPECT_EQ(last.substr(0, 15), "100,\"9332621544");
}

TEST(FactorialTable, ShortTablesAndRecords) {
    EXPECT_EQ(factorialTableText(1), "1,\"1\"");
    EXPECT_EQ(factorialTableText(3), "1,\"1\"\r\n2,\"2\"\r\n3,\"6\"");
    EXPECT_EQ(factorialRecord("5", "120"), "5,\"120\"");
    EXPECT_EQ(kFactorialTableGuard.size(), 22u);
}

} // namespace
} // namespace longhand
