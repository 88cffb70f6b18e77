// Finding one's way in a long result, without a widget: the shape of a
// number, the grouped display against a grouping built by hand, the length
// line, and the digit search against a plain search.
#include "core/digitsearch.h"
#include "core/grouping.h"
#include "core/lengthline.h"
#include "support/seed.h"

#include <gtest/gtest.h>
#include <string>

namespace longhand {
namespace {

TEST(NumberShape, DigitsBeforeACaretAndTheCaretAfterADigit) {
    const NumberShape shape = shapeOf("-12.345");
    EXPECT_EQ(shape.digits(), 5);
    const Count before[] = {0, 0, 1, 2, 2, 3, 4, 5}; // caret at 0 .. 7
    for (Count caret = 0; caret <= shape.length; ++caret)
        EXPECT_EQ(shape.digitsBefore(caret), before[caret]) << caret;
    const Count after[] = {1, 2, 3, 5, 6, 7}; // digit 0 .. 5
    for (Count n = 0; n <= shape.digits(); ++n)
        EXPECT_EQ(shape.positionAfterDigit(n), after[n]) << n;
}

// The grouped text built the obvious way: the integer digits in groups from
// the point leftward, the decimals in groups from the point rightward.
std::string groupedByHand(const std::string& text, int size) {
    const std::size_t lead = text.rfind('-', 0) == 0 ? 1 : 0;
    const std::size_t point = std::min(text.find('.'), text.size());
    std::string whole;
    for (std::size_t i = lead; i < point; ++i) {
        if (i > lead && (point - i) % size == 0) whole += ' ';
        whole += text[i];
    }
    std::string out = text.substr(0, lead) + whole;
    if (point == text.size()) return out;
    out += '.';
    for (std::size_t k = 1; point + k < text.size(); ++k) {
        if (k > 1 && (k - 1) % size == 0) out += ' ';
        out += text[point + k];
    }
    return out;
}

TEST(DigitGrouping, MatchesGroupingByHandForEveryShapeAndPosition) {
    for (int size : {0, 3, 5, 10})
        for (const std::string sign : {"", "-"})
            for (int whole = 0; whole <= 12; ++whole)
                for (int decimals = -1; decimals <= 12; ++decimals) {
                    std::string text = sign;
                    for (int i = 0; i < whole; ++i)
                        text += static_cast<char>('1' + i % 9);
                    if (decimals >= 0) text += '.' + std::string(decimals, '7');
                    SCOPED_TRACE(text + " by " + std::to_string(size));
                    const std::string want = size ? groupedByHand(text, size) : text;
                    const DigitGrouping grouping(shapeOf(text), size);
                    const Count shown = grouping.displayLength();
                    ASSERT_EQ(grouping.display(text, 0, shown), want);
                    // Every character keeps its place; a gap leads to the next one.
                    Count plain = 0;
                    for (Count d = 0; d <= shown; ++d) {
                        ASSERT_EQ(grouping.toPlain(d), plain) << d;
                        if (d < shown && want[d] != ' ') {
                            ASSERT_EQ(grouping.toDisplay(plain), d);
                            ++plain;
                        }
                    }
                    ASSERT_EQ(grouping.toDisplay(plain), shown);
                    ASSERT_EQ(grouping.display(text, 3, 9),
                              want.substr(std::min<Count>(3, shown), 6));
                }
}

TEST(LengthLine, LengthCutAndPlace) {
    const std::string dot = kPlaceSeparator;
    const struct {
        const char* text;
        bool cut;
        Count caret;
        std::string line;
    } cases[] = {
        {"1234567890", false, 0, "10 digits"},
        {"-1", false, 1, "1 digit"},
        {"123456789012.12345678901234567890", true, 0, "12 digits, 20 decimals (cut, not rounded)"},
        {".25", false, 0, "2 decimals"},
        {"-0.5", false, 4, "1 digit, 1 decimal" + dot + "digit 2 of 2"},
        {"-12.345", true, 4, "2 digits, 3 decimals (cut, not rounded)" + dot + "digit 2 of 5"},
        {"", false, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lengthLineText(shapeOf(c.text), c.cut, c.caret), c.line) << c.text;
    const NumberShape factorial{5'565'709, 0, -1};
    EXPECT_EQ(lengthLineText(factorial, false, 1'234'567),
              "5,565,709 digits" + dot + "digit 1,234,567 of 5,565,709");
    EXPECT_EQ(withThousands(100), "100");
    EXPECT_EQ(withThousands(1000), "1,000");
}

// The first match at or after `from`, else the first before it.
std::optional<Count> plainFind(const std::string& text, const std::string& pattern, Count from) {
    auto at = text.find(pattern, static_cast<std::size_t>(from));
    if (at == std::string::npos) at = text.find(pattern);
    if (at == std::string::npos) return std::nullopt;
    return static_cast<Count>(at);
}

TEST(FindDigits, AgreesWithAPlainSearchAndWraps) {
    auto rng = test::seededRng("FindDigits.AgreesWithAPlainSearchAndWraps");
    for (int i = 0; i < 3000; ++i) {
        // Two or three digits, so that patterns match often and partly.
        const int kinds = 2 + static_cast<int>(rng() % 2);
        auto digits = [&](std::size_t n) {
            std::string s(n, '0');
            for (char& c : s)
                c = static_cast<char>('0' + rng() % kinds);
            return s;
        };
        const std::string text = digits(rng() % 60);
        const std::string pattern = digits(1 + rng() % 6);
        const Count from = static_cast<Count>(rng() % (text.size() + 1));
        Progress progress;
        ASSERT_EQ(findDigits(text, pattern, from, progress), plainFind(text, pattern, from))
            << text << " " << pattern << " from " << from;
    }
    // Across a chunk boundary, past a run that a naive search would crawl.
    std::string text(2 * kSearchChunk + 10, '0');
    const std::string pattern = std::string(1000, '0') + "1";
    text[2 * kSearchChunk + 5] = '1';
    Progress progress;
    EXPECT_EQ(findDigits(text, pattern, 7, progress), 2 * kSearchChunk + 5 - 1000);
    EXPECT_GT(progress.fraction(), 0.4);
    progress.cancel();
    EXPECT_EQ(findDigits(text, pattern, 0, progress), std::nullopt);
}

} // namespace
} // namespace longhand
