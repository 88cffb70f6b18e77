// Finding one's way in a long result, without a widget: the shape of a
// number, the grouped display against a grouping built by hand, the length
// line, and the digit search against a plain search.
#include "core/digitsearch.h"
#include "core/grouping.h"
#include "core/lengthline.h"
#include "support/seed.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace longhand {
namespace {

TEST(NumberShape, DigitsBeforeACaretAndTheCaretAfterADigit) {
    // Leading zeros are no digits of the number; a lone zero is one.
    const struct {
        const char* text;
        Count digits;
        std::vector<Count> before; // digits before a caret at 0 .. length
        std::vector<Count> after;  // the caret after digit 0 .. digits
    } cases[] = {
        {"-12.345", 5, {0, 0, 1, 2, 2, 3, 4, 5}, {1, 2, 3, 5, 6, 7}},
        {"0.14", 2, {0, 0, 0, 1, 2}, {1, 3, 4}},
        {"-00.5", 1, {0, 0, 0, 0, 0, 1}, {3, 5}},
        {".5", 1, {0, 0, 1}, {0, 2}},
        {"0", 1, {0, 1}, {0, 1}},
        {"-007", 1, {0, 0, 0, 0, 1}, {3, 4}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const NumberShape shape = shapeOf(c.text);
        EXPECT_EQ(shape.digits(), c.digits);
        for (Count caret = 0; caret <= shape.length; ++caret)
            EXPECT_EQ(shape.digitsBefore(caret), c.before[static_cast<std::size_t>(caret)])
                << caret;
        for (Count n = 0; n <= shape.digits(); ++n)
            EXPECT_EQ(shape.positionAfterDigit(n), c.after[static_cast<std::size_t>(n)]) << n;
    }
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

// Aligned, the groups stand in cells of the size plus one: a gap and the
// point in the cells' last column, an integer part's last digit before it.
void expectAligned(const std::string& shown, const std::string& text, int size) {
    const Count cell = size + 1;
    const Count pad = static_cast<Count>(shown.find_first_not_of(' '));
    ASSERT_LT(pad, cell);
    for (Count i = pad; i < static_cast<Count>(shown.size()); ++i) {
        if (shown[i] == ' ' || shown[i] == '.') {
            ASSERT_EQ(i % cell, size) << i;
        }
    }
    const std::size_t lastWhole = shown.find_last_of("0123456789", shown.find('.'));
    if (text.find_first_of("0123456789") < text.find('.')) {
        ASSERT_EQ(static_cast<Count>(lastWhole) % cell, size - 1);
    }
}

// The display of `text` against the grouping by hand, and every position
// through the mapping both ways.
void expectGrouping(const std::string& text, int size, bool aligned) {
    const DigitGrouping grouping(shapeOf(text), size, aligned);
    const Count shown = grouping.displayLength();
    const std::string want = grouping.display(text, 0, shown);
    const std::string grouped = size ? groupedByHand(text, size) : text;
    const std::size_t pad = want.size() - grouped.size();
    ASSERT_EQ(want.substr(pad), grouped);
    ASSERT_TRUE(aligned || pad == 0);
    const bool digits = text.find_first_of("0123456789") != std::string::npos;
    if (aligned && size && digits) expectAligned(want, text, size);
    if (!digits) {
        ASSERT_EQ(pad, 0u); // nothing to align
    }
    // Every character keeps its place; a gap leads to the next one.
    Count plain = 0;
    for (Count d = 0; d <= shown; ++d) {
        ASSERT_EQ(grouping.toPlain(d), plain) << d;
        if (d >= static_cast<Count>(pad) && d < shown && want[d] != ' ') {
            ASSERT_EQ(grouping.toDisplay(plain), d);
            ++plain;
        }
    }
    ASSERT_EQ(plain, static_cast<Count>(text.size()));
    ASSERT_EQ(grouping.toDisplay(plain), shown);
    for (Count p = 0; p <= plain; ++p)
        ASSERT_EQ(grouping.toPlain(grouping.caretToDisplay(p)), p);
    ASSERT_EQ(grouping.display(text, 3, 9), want.substr(std::min<Count>(3, shown), 6));
}

TEST(DigitGrouping, MatchesGroupingByHandForEveryShapeAndPosition) {
    for (int size : {0, 3, 5, 10})
        for (bool aligned : {false, true})
            for (const std::string sign : {"", "-"})
                for (int whole = 0; whole <= 12; ++whole)
                    for (int decimals = -1; decimals <= 12; ++decimals) {
                        std::string text = sign;
                        for (int i = 0; i < whole; ++i)
                            text += static_cast<char>('1' + i % 9);
                        if (decimals >= 0) text += '.' + std::string(decimals, '7');
                        SCOPED_TRACE(text + " by " + std::to_string(size) +
                                     (aligned ? ", aligned" : ""));
                        expectGrouping(text, size, aligned);
                        if (HasFatalFailure()) return;
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
        {"0", false, 1, "1 digit" + dot + "digit 1 of 1"},
        {"12.345", false, 4, "5 digits (2 before the point, 3 after)" + dot + "digit 3 of 5"},
        {"3.14285714285714285714", true, 0,
         "21 digits (1 before the point, 20 after), cut, not rounded"},
        {"0.142857", false, 2, "6 digits (0 before the point, 6 after)"},
        {"0.142857", false, 3, "6 digits (0 before the point, 6 after)" + dot + "digit 1 of 6"},
        {".25", false, 0, "2 digits (0 before the point, 2 after)"},
        {"-0.5", false, 4, "1 digit (0 before the point, 1 after)" + dot + "digit 1 of 1"},
        {"5.", false, 0, "1 digit (1 before the point, 0 after)"},
        {"", false, 0, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(lengthLineText(shapeOf(c.text), c.cut, c.caret), c.line) << c.text;
    const NumberShape factorial{5'565'709, 0, -1};
    EXPECT_EQ(lengthLineText(factorial, true, 1'234'567),
              "5,565,709 digits, cut, not rounded" + dot + "digit 1,234,567 of 5,565,709");
}

// The first match at or after `from`, else the first before it.
std::optional<Count> plainFind(const std::string& text, const std::string& pattern, Count from) {
    auto at = text.find(pattern, static_cast<std::size_t>(from));
    if (at == std::string::npos) at = text.find(pattern);
    if (at == std::string::npos) return std::nullopt;
    return static_cast<Count>(at);
}

TEST(LengthLine, AboutLengthWording) {
    struct Case {
        double length;
        const char* text;
    };
    for (const Case& c : {Case{5.6e12, "5.6 \xC3\x97 10^12"}, Case{9.96e9, "1.0 \xC3\x97 10^10"},
                          Case{1e6, "1.0 \xC3\x97 10^6"}, Case{52000, "52000"}, Case{1, "1"}}) {
        EXPECT_EQ(aboutLength(std::log10(c.length)), c.text) << c.length;
    }
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
