#include "rangeproduct.h"

#include "addition.h"
#include "crossovers.h"
#include "fast/fast.h"
#include "fast/natural.h"
#include "multiply.h"
#include "numtext.h"
#include "operations.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace longhand {

namespace {

// Room for the plain text of any finite double with three fraction digits.
constexpr int kDoubleTextRoom = 400;

// -1, 0 or 1 by the value of a plain number text (any of "", "0", "-0.0",
// ".5", "-12." ...).
int textSign(std::string_view t) {
    for (char c : t)
        if (c >= '1' && c <= '9') return (!t.empty() && t[0] == '-') ? -1 : 1;
    return 0;
}

// True when a plain number text has no nonzero fraction digit.
bool isWholeText(std::string_view t) {
    std::size_t point = t.find('.');
    if (point == std::string_view::npos) return true;
    for (std::size_t i = point + 1; i < t.size(); ++i)
        if (t[i] != '0') return false;
    return true;
}

// Sign of a - b for plain number texts, exactly.
int compareValues(const std::string& a, const std::string& b) {
    return textSign(subtract(a, b));
}

// The leading number of `text` (the part that numericValue reads) as a
// plain number text: sign, digits and a point, no exponent. No leading
// number gives "0". A leading number written with an exponent is taken from
// its double `value`: from kBatchLimit on a double has at most three binary
// fraction places, so "%.3f" shows it exactly (a small lower end written
// with an exponent beside a huge upper end is rounded to three places).
// Nothing when that value is beyond the doubles.
std::optional<std::string> leadingNumberText(std::string_view text, double value) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return "0";
    std::size_t j = i;
    if (j < text.size() && (text[j] == 'e' || text[j] == 'E')) {
        ++j;
        if (j < text.size() && (text[j] == '-' || text[j] == '+')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            if (!std::isfinite(value)) return std::nullopt;
            char buf[kDoubleTextRoom];
            std::snprintf(buf, sizeof buf, "%.3f", value);
            return buf;
        }
    }
    std::string plain;
    plain.reserve(i - start + 1);
    if (negative) plain.push_back('-');
    plain.append(text.substr(start, i - start));
    return plain;
}

// The product of an empty run: x as the multiplication returns it.
std::string emptyRun(std::string_view x, Progress& progress) {
    if (x.empty()) return "1";
    return multiply("1", x, progress);
}

// The run from `first` to `last` stepped on texts: one multiplication per
// factor, exact for numbers of any length.
std::string exactRun(std::string first, const std::string& last, std::string_view x,
                     Progress& progress) {
    if (compareValues(first, last) > 0) return emptyRun(x, progress);
    // A run through zero is zero; seen here, it never has to be walked.
    if (isWholeText(first) && textSign(first) <= 0 && textSign(last) >= 0) return "0";
    // Each factor's product a step of the progress bar, the factor x one
    // more (its count about, from the ends' values).
    const double steps =
        std::max(std::floor(numericValue(subtract(last, first))), 0.0) + 1 + (x.empty() ? 0 : 1);
    double done = 0;
    std::string big = "1";
    do {
        if (progress.cancelled()) return {};
        const Progress::Stage step(progress, std::min(done / steps, 1.0),
                                   std::min((done + 1) / steps, 1.0));
        big = multiply(big, first, progress);
        first = add(first, "1");
        done += 1;
    } while (compareValues(first, last) <= 0);
    if (!x.empty()) {
        const Progress::Stage step(progress, std::min(done / steps, 1.0), 1.0);
        big = multiply(big, x, progress);
    }
    return big;
}

// A run as rangeProduct walks it: between doubles while both ends lie below
// kBatchLimit, otherwise between plain number texts.
struct Run {
    double first = 1, last = 0;
    bool onTexts = false;
    bool endless = false; // an end written with an exponent beyond the doubles
    std::string firstText, lastText;
};

Run describeRun(std::string_view n, std::string_view x, std::string_view m) {
    Run run;
    run.last = numericValue(n);
    const double lower = x.empty() ? 0.0 : numericValue(m);
    run.first = lower + 1.0;
    auto lowerText = x.empty() ? std::optional<std::string>("0") : leadingNumberText(m, lower);
    // Factors with a fraction are not whole numbers a double holds exactly:
    // they are stepped on texts, whatever their size.
    const bool wholeFactors = !lowerText || isWholeText(*lowerText);
    if (wholeFactors && std::fabs(run.first) < kBatchLimit && std::fabs(run.last) < kBatchLimit)
        return run;
    run.onTexts = true;
    auto lastText = leadingNumberText(n, run.last);
    if (!lastText || !lowerText) {
        run.endless = true;
        return run;
    }
    run.firstText = add(*lowerText, "1");
    run.lastText = std::move(*lastText);
    return run;
}

// About how many digits the run's product has (never much less); 0 for an
// empty run or one through zero, infinity for one without end.
double runDigits(const Run& run) {
    constexpr double kLn10 = 2.302585092994046;
    if (run.endless) return INFINITY;
    if (!run.onTexts) {
        const double first = run.first, last = run.last;
        if (first > last || (first <= 0 && last >= 0 && first == std::floor(first))) return 0;
        const double count = std::floor(last - first) + 1;
        // |first (first+1) ... | = Gamma(a + count) / Gamma(a), a the smallest magnitude.
        if (first > 0) return (std::lgamma(first + count) - std::lgamma(first)) / kLn10 + 1;
        if (last < 0) return (std::lgamma(-last + count) - std::lgamma(-last)) / kLn10 + 1;
        return count * std::log10(std::fmax(-first, last) + 1) + 1;
    }
    const std::string& first = run.firstText;
    const std::string& last = run.lastText;
    if (compareValues(first, last) > 0) return 0;
    if (isWholeText(first) && textSign(first) <= 0 && textSign(last) >= 0) return 0;
    // At most count factors of at most the longer end's length each.
    const double count = std::floor(numericValue(subtract(last, first))) + 1;
    return count * static_cast<double>(std::max(first.size(), last.size()));
}

// first (first + 1) ... last for whole 1 <= first <= last below kBatchLimit,
// by the fast layer's product tree (a run from 1 or 2 is last!, built from
// its prime factors). "" when cancelled.
std::string wholeRun(double first, double last, Progress& progress) {
    const fast::CancelCheck cancel = progress.cancelCheck();
    const auto lo = static_cast<std::uint64_t>(first), hi = static_cast<std::uint64_t>(last);
    try {
        return lo <= 2 ? fast::factorialDigits(hi, &cancel)
                       : fast::rangeProductDigits(lo, hi, &cancel);
    } catch (const fast::Cancelled&) {
        return {};
    }
}

// The run's product before it becomes an outcome; nothing is refused here.
std::string runProduct(const Run& run, std::string_view x, Progress& progress) {
    if (run.onTexts) return exactRun(run.firstText, run.lastText, x, progress);
    const double first = run.first, last = run.last;
    if (first > last) return emptyRun(x, progress);

    // Both ends below kBatchLimit: every factor and every batch is exact in
    // a double (for whole factors) and stepping by 1 is exact.
    if (first <= 0 && last >= 0 && first == std::floor(first)) return "0";

    // Long runs of whole factors: the product the batches would build, as
    // the multiplication writes it (digits, no leading zeros), then x.
    // The run's share of the work against the product by x, from the
    // run's length (an upper bound) and x's: a short x costs one pass over
    // the run's digits.
    const double runLimbs = runDigits(run) / fast::kLimbDigits;
    const double xLimbs = static_cast<double>(x.size()) / fast::kLimbDigits;
    const double runWork = fast::treeWork(runLimbs);
    const double xWork = x.size() >= kFastMultiplyDigits ? fast::productWork(runLimbs + xLimbs)
                                                         : fast::conversionWork(runLimbs);
    const double runShare = x.empty() ? 1.0 : runWork / (runWork + xWork);
    std::string big;
    {
        const Progress::Stage running(progress, 0.0, runShare);
        if (first >= 1 && first == std::floor(first) &&
            std::floor(last) - first + 1 >= static_cast<double>(kFastProductFactors)) {
            big = wholeRun(first, std::floor(last), progress);
            if (big.empty()) return big;
        } else {
            big = batchedProduct(first, last, progress);
        }
    }
    if (x.empty()) return big;
    const Progress::Stage timesX(progress, runShare, 1.0);
    return multiply(big, x, progress);
}

} // namespace

bool isWholeNumberText(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (!isDigit(c)) return false;
    return true;
}

std::string wholeNumberValue(std::string_view text) {
    std::size_t lead = text.find_first_not_of('0');
    if (lead == std::string_view::npos) return "0";
    return std::string(text.substr(lead));
}

double productLength(std::string_view n, std::string_view x, std::string_view m) {
    return std::log10(runDigits(describeRun(n, x, m)) + static_cast<double>(x.size()));
}

std::optional<Refusal> productTooLong(std::string_view n, std::string_view x, std::string_view m,
                                      int operand) {
    const double length = productLength(n, x, m);
    if (!(length > std::log10(static_cast<double>(kMaxProductDigits)))) return std::nullopt;
    return Refusal{RefusalKind::ProductTooLong, operand, length, kMaxProductDigits};
}

Outcome rangeProduct(std::string_view n, std::string_view x, std::string_view m,
                     Progress& progress) {
    const Run run = describeRun(n, x, m);
    const double length = runDigits(run) + static_cast<double>(x.size());
    if (length > static_cast<double>(kMaxProductDigits))
        return Outcome::refused({RefusalKind::ProductTooLong, Refusal::kNoOperand,
                                 std::log10(length), kMaxProductDigits});
    std::string big = runProduct(run, x, progress);
    if (progress.cancelled()) return Outcome::cancelled();
    return Outcome::result(shownResult(std::move(big)), false);
}

std::string batchedProduct(double first, double last, Progress& progress) {
    const double span = last - first + 1;
    std::string big = "1";
    double batch = 1, reached = 0;
    for (double i = first; i <= last; i += 1) {
        const double q = i * batch;
        if (std::fabs(q) < kBatchCeiling) {
            batch = q;
            continue;
        }
        // The factor that overflows the batch starts the next one. The
        // product of each batch is a step of the progress bar, from the
        // batch's first factor to its last.
        const double next = std::min((i - first) / span, 1.0);
        {
            const Progress::Stage step(progress, reached, next);
            big = multiply(big, doubleText(batch), progress);
        }
        reached = next;
        batch = i;
        if (progress.cancelled()) return {};
    }
    const Progress::Stage step(progress, reached, 1.0);
    return multiply(big, doubleText(batch), progress);
}

} // namespace longhand
