// libFuzzer target: the operations on number texts against GMP rationals.
// Add, subtract, multiply and divide as the windows call them (refusals
// included), the power and the rounding of a result, with signs, points and
// zeros anywhere. Built with tiny crossovers (LONGHAND_SMALL_THRESHOLDS), so
// that short texts reach the fast arithmetic as well as the digit loops.
//
// Input layout: byte 0 picks the operation, byte 1 where the rest splits
// into the two operands; every further byte is one character, mostly
// digits, "." and "-", now and then a character no number has.
#include "engine/operations.h"
#include "engine/power.h"
#include "engine/rounding.h"
#include "support/gmp_decimal.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using longhand::Operation;
using longhand::Outcome;
using longhand::test::isCutOf;
using longhand::test::isNumberShape;
using longhand::test::isTidyResult;
using longhand::test::Q;

constexpr std::size_t kMaxOperand = 300;
// Powers are checked up to this many digits (base digits times exponent).
constexpr unsigned long kMaxPowerDigits = 4000;

[[noreturn]] void fail(const char* what, std::string_view a, std::string_view b,
                       std::string_view got) {
    std::fprintf(stderr, "%s: a=\"%.*s\" b=\"%.*s\" got \"%.*s\"\n", what,
                 static_cast<int>(a.size()), a.data(), static_cast<int>(b.size()), b.data(),
                 static_cast<int>(got.size()), got.data());
    std::abort();
}

char characterOf(std::uint8_t byte) {
    static constexpr char kNumberChars[] = "0123456789.-0.-";
    static constexpr char kStrays[] = " +,e\t_x\xef";
    if ((byte & 15) < 15) return kNumberChars[byte & 15];
    return kStrays[(byte >> 4) % 8];
}

// The text with its trailing fraction zeros and point dropped, as the
// operations take their operands.
std::string tidied(std::string_view s) {
    std::string t(s);
    if (t.find('.') == std::string::npos) return t;
    while (!t.empty() && t.back() == '0')
        t.pop_back();
    if (!t.empty() && t.back() == '.') t.pop_back();
    return t;
}

bool hasDigit(std::string_view s) {
    return s.find_first_of("0123456789") != std::string_view::npos;
}

bool hasNonZeroDigit(std::string_view s) {
    return s.find_first_of("123456789") != std::string_view::npos;
}

// The digit string of an unsigned number text without its leading zeros,
// and its count of fraction digits.
struct Digits {
    long length = 0;
    long scale = 0;
};

Digits digitsOf(std::string_view s) {
    if (!s.empty() && s.front() == '-') s.remove_prefix(1);
    Digits d;
    const std::size_t point = s.find('.');
    if (point != std::string_view::npos) d.scale = static_cast<long>(s.size() - point - 1);
    bool leading = true;
    for (char c : s) {
        if (c == '.' || (leading && c == '0')) continue;
        leading = false;
        ++d.length;
    }
    return d;
}

long fractionDigits(std::string_view s) {
    const std::size_t point = s.find('.');
    return point == std::string_view::npos ? 0 : static_cast<long>(s.size() - point - 1);
}

// The fraction places a quotient always has, unless it ends before: the
// quotient of the digit strings gets one more place than the dividend's
// digits when the dividend's digit string is the longer, else 20 places (the
// divisor's length plus 10 from 16 divisor digits on); never fewer than the
// divisor's scale minus the dividend's. Moving the point by the scales adds
// the dividend's scale and takes the divisor's.
long promisedPlaces(std::string_view a, std::string_view b) {
    const Digits m = digitsOf(a), n = digitsOf(b);
    long places = m.length > n.length ? m.length + 1 : (n.length < 16 ? 20 : n.length + 10);
    places = std::max(places, n.scale - m.scale);
    return places + m.scale - n.scale;
}

void checkCalculation(Operation op, std::string_view a, std::string_view b) {
    longhand::Progress progress;
    const Outcome got = longhand::calculate(op, a, b, progress);
    const std::string ta = tidied(a), tb = tidied(b);
    using Kind = longhand::RefusalKind;
    std::optional<Kind> refusal;
    if (a.empty() || b.empty())
        refusal = Kind::EmptyOperand;
    else if (!isNumberShape(a) || !isNumberShape(b))
        refusal = Kind::MalformedOperand;
    else if (ta.empty() || tb.empty())
        refusal = Kind::OnlyPoint;
    else if (op == Operation::Divide && !hasNonZeroDigit(b))
        refusal = Kind::DivisionByZero; // 0 / 0 included: it has no value
    if (refusal) {
        if (got.status != Outcome::Status::Refused || got.refusal.kind != *refusal)
            fail("expected a refusal", a, b, got.text);
        return;
    }
    if (!got.isResult()) fail("expected a result", a, b, got.text);
    if (!isTidyResult(got.text) && got.text != "-0") fail("untidy result", a, b, got.text);

    const Q x(a), y(b), r(got.text);
    Q want;
    switch (op) {
    case Operation::Add:
        mpq_add(want.get(), x.get(), y.get());
        break;
    case Operation::Subtract:
        mpq_sub(want.get(), x.get(), y.get());
        break;
    case Operation::Multiply:
        mpq_mul(want.get(), x.get(), y.get());
        break;
    case Operation::Divide: {
        mpq_div(want.get(), x.get(), y.get());
        const long places = std::max(promisedPlaces(ta, tb), fractionDigits(got.text));
        if (!isCutOf(r, want, places)) fail("quotient not cut at its places", a, b, got.text);
        if (got.cut == (r == want)) fail("cut flag wrong", a, b, got.text);
        return;
    }
    }
    if (!(r == want)) fail("wrong value", a, b, got.text);
}

void checkPower(std::string_view base, std::string_view exponent) {
    // The exponent is whole when it is digits, or digits with a point and
    // zeros; only those are raised.
    const std::size_t point = exponent.find('.');
    const std::string_view whole = exponent.substr(0, point);
    const bool isWhole = !whole.empty() &&
                         whole.find_first_not_of("0123456789") == std::string_view::npos &&
                         (point == std::string_view::npos ||
                          exponent.find_first_not_of('0', point + 1) == std::string_view::npos);
    if (!isWhole || !isNumberShape(base) || !hasDigit(base)) {
        if (isNumberShape(exponent) && hasNonZeroDigit(exponent) && exponent.front() == '-') {
            longhand::Progress progress;
            const Outcome got = longhand::power(base, exponent, progress);
            if (got.isResult()) fail("negative exponent raised", base, exponent, got.text);
        }
        return;
    }
    const Q e(exponent);
    if (mpz_cmp_ui(mpq_numref(e.get()), 100000) > 0) return;
    const unsigned long times = mpz_get_ui(mpq_numref(e.get()));
    if (times * static_cast<unsigned long>(base.size()) > kMaxPowerDigits) return;

    longhand::Progress progress;
    const Outcome got = longhand::power(base, exponent, progress);
    if (!got.isResult()) fail("power refused", base, exponent, got.text);
    if (!isTidyResult(got.text)) fail("untidy power", base, exponent, got.text);
    const Q x(base), r(got.text);
    Q want;
    longhand::test::qPow(want, x, times);
    // Zero to the power zero is shown as 0, however either zero is written.
    if (times == 0 && mpq_sgn(x.get()) == 0) mpq_set_ui(want.get(), 0, 1);
    if (!(r == want)) fail("wrong power", base, exponent, got.text);
}

void checkRounding(std::string_view text, std::uint8_t pick) {
    if (!isNumberShape(text)) return;
    const std::size_t point = text.find('.');
    const long fraction = fractionDigits(text);
    if (point == std::string_view::npos || fraction == 0) return;
    const long k = pick % fraction;
    const auto pointPos = static_cast<longhand::Count>(point + 1);
    const std::optional<std::string> got = longhand::roundToDecimals(text, pointPos, k);
    if (!got) fail("rounding refused", text, std::to_string(k), "");
    if (!isTidyResult(*got)) fail("untidy rounding", text, std::to_string(k), *got);
    const Q x(text), r(*got);
    Q want;
    longhand::test::qRoundHalfAway(want, x, k);
    if (!(r == want)) fail("wrong rounding", text, std::to_string(k), *got);
    if (longhand::roundToDecimals(text, pointPos + 1, k) ||
        longhand::roundToDecimals(text, pointPos, fraction))
        fail("rounding outside the offered places", text, std::to_string(k), "");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2 || size > 2 + 2 * kMaxOperand) return 0;
    std::string chars(size - 2, '0');
    for (std::size_t i = 2; i < size; ++i)
        chars[i - 2] = characterOf(data[i]);
    const std::size_t split = data[1] * chars.size() / 255;
    const std::string_view a(chars.data(), split);
    const std::string_view b(chars.data() + split, chars.size() - split);
    switch (data[0] % 6) {
    case 0:
        checkCalculation(Operation::Add, a, b);
        break;
    case 1:
        checkCalculation(Operation::Subtract, a, b);
        break;
    case 2:
        checkCalculation(Operation::Multiply, a, b);
        break;
    case 3:
        checkCalculation(Operation::Divide, a, b);
        break;
    case 4:
        checkPower(a, b);
        break;
    default:
        checkRounding(a, data[1]);
        break;
    }
    return 0;
}
