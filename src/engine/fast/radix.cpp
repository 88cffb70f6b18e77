// Whole numbers in other bases (2 to 36): divide and conquer on the powers
// C^(2^i) of the largest power C of the base that fits in a limb, kept in
// the engine's own decimal limbs. Writing splits a number by the power
// that halves it (Barrett's division, with the power's reciprocal and the
// transforms of both computed once a level), reading joins the two halves
// of the text with one product; both take time of a few products times
// log n.
// Short pieces go digit group by digit group through single-limb
// arithmetic.
#include "fast.h"
#include "modular.h"
#include "natural.h"
#include "parallel.h"
#include "size_limits.h"
#include "thresholds.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace longhand::fast {

namespace {

constexpr char kDigitChars[] = "0123456789abcdefghijklmnopqrstuvwxyz";

struct Radix {
    unsigned base = 10;
    std::size_t chunk = 1;       // digits of the base in one group C = base^chunk < 10^9
    Limb group = 10;             // C
    std::vector<Natural> powers; // powers[i] = C^(2^i)

    explicit Radix(unsigned b) : base(b) {
        if (b < 2 || b > 36) throw std::domain_error("base out of range");
        std::uint64_t c = b;
        chunk = 1;
        while (c * b < kBase) {
            c *= b;
            ++chunk;
        }
        group = static_cast<Limb>(c);
    }
    // Makes powers[0..i] available.
    const Natural& power(std::size_t i, const CancelCheck* cancel) {
        if (powers.empty()) powers.push_back(fromU64(group));
        while (powers.size() <= i)
            powers.push_back(sqr(powers.back(), cancel));
        return powers[i];
    }
};

// Progress by the share of the text's digits done.
struct Measure {
    const CancelCheck* cancel;
    double total;
    void done(std::size_t digits) const {
        advance(cancel, static_cast<double>(digits) / total);
        poll(cancel);
    }
};

// Writes exactly `width` base-b digits of n (which must fit) into out.
void writeShort(Natural n, Radix& radix, char* out, std::size_t width) {
    std::size_t pos = width;
    while (pos > 0) {
        Limb g = n.empty() ? 0 : divSmallInPlace(n, radix.group);
        for (std::size_t j = 0; j < radix.chunk && pos > 0; ++j) {
            out[--pos] = kDigitChars[g % radix.base];
            g /= radix.base;
        }
    }
}

// The divisors of writing: for each power C^(2^i) its reciprocal and
// the transforms of both, computed once for every piece of its level.
struct Dividers {
    std::vector<std::unique_ptr<Modulus>> level; // level[i] divides by C^(2^i)
    Dividers(Radix& radix, std::size_t top, const CancelCheck* quiet) : level(top + 1) {
        for (std::size_t i = 1; i <= top; ++i)
            level[i] = std::make_unique<Modulus>(radix.power(i, quiet), quiet);
    }
};

// n < C^(2^(i+1)): its c 2^(i+1) digits into out, zero padded. The two
// halves of a long piece are written side by side.
void writeRec(const Natural& n, std::size_t i, Radix& radix, const Dividers& dividers, char* out,
              const Measure& measure) {
    const std::size_t width = radix.chunk << (i + 1);
    if (n.size() < kRadixBasecaseLimbs || i == 0) {
        writeShort(n, radix, out, width);
        measure.done(width);
        return;
    }
    Natural q, r;
    dividers.level[i]->divide(n, q, r);
    par::invoke(
        n.size() >= kParallelProductLimbs,
        [&] { writeRec(q, i - 1, radix, dividers, out, measure); },
        [&] { writeRec(r, i - 1, radix, dividers, out + width / 2, measure); });
}

int digitValue(char ch) {
    if (ch >= '0' && ch <= '9') return ch - '0';
    if (ch >= 'a' && ch <= 'z') return ch - 'a' + 10;
    if (ch >= 'A' && ch <= 'Z') return ch - 'A' + 10;
    return 99;
}

Natural readShort(std::string_view text, const Radix& radix) {
    Natural n;
    std::size_t pos = 0;
    const std::size_t head = text.size() % radix.chunk;
    std::size_t len = head ? head : radix.chunk;
    while (pos < text.size()) {
        Limb g = 0, scale = 1;
        for (std::size_t j = 0; j < len; ++j) {
            const int d = digitValue(text[pos + j]);
            if (d >= static_cast<int>(radix.base)) throw std::invalid_argument("not a digit");
            g = g * radix.base + static_cast<Limb>(d);
            scale *= radix.base;
        }
        n = mulSmall(n, scale);
        addInPlace(n, fromU64(g));
        pos += len;
        len = radix.chunk;
    }
    return n;
}

// The value of text, at most c 2^(i+1) digits long.
Natural readRec(std::string_view text, std::size_t i, Radix& radix, const Measure& measure,
                const CancelCheck* quiet) {
    while (i > 0 && text.size() <= (radix.chunk << i))
        --i;
    if (i == 0 || text.size() <= radix.chunk * kRadixBasecaseLimbs) {
        Natural n = readShort(text, radix);
        measure.done(text.size());
        return n;
    }
    const std::size_t low = radix.chunk << i;
    const Natural hi = readRec(text.substr(0, text.size() - low), i - 1, radix, measure, quiet);
    Natural lo = readRec(text.substr(text.size() - low), i - 1, radix, measure, quiet);
    addInPlace(lo, mul(hi, radix.power(i, quiet), quiet));
    return lo;
}

} // namespace

std::string toBase(const Natural& n, unsigned base, const CancelCheck* cancel) {
    Radix radix(base);
    if (n.empty()) return "0";
    const CancelCheck quiet = partOf(cancel, 0);
    // The smallest t with n < C^(2^t). C^(2^t) is not worked out when
    // n's length alone shows n below it: a power as long as n costs a
    // product.
    std::size_t t = 0;
    for (;;) {
        const Natural& p = radix.power(t, &quiet);
        if (compare(n, p) < 0) break;
        ++t;
        // n < 10^(9 (2 s - 2)) <= p^2 when n has at most 2 s - 2 limbs.
        if (n.size() + 2 <= 2 * p.size()) break;
    }
    const std::size_t width = radix.chunk << t;
    std::string out(width, '0');
    if (t == 0)
        writeShort(n, radix, out.data(), width);
    else
        writeRec(n, t - 1, radix, Dividers(radix, t - 1, &quiet), out.data(),
                 {cancel, static_cast<double>(width)});
    const std::size_t first = out.find_first_not_of('0');
    out.erase(0, first);
    finish(cancel);
    return out;
}

Natural fromBase(std::string_view text, unsigned base, const CancelCheck* cancel) {
    Radix radix(base);
    checkResultDigits(static_cast<double>(text.size()) * std::log10(static_cast<double>(base)));
    for (char ch : text)
        if (digitValue(ch) >= static_cast<int>(base)) throw std::invalid_argument("not a digit");
    const CancelCheck quiet = partOf(cancel, 0);
    std::size_t t = 0;
    while ((radix.chunk << (t + 1)) < text.size())
        ++t;
    Natural n = readRec(text, t, radix, {cancel, static_cast<double>(text.size())}, &quiet);
    finish(cancel);
    return n;
}

std::string toBaseDigits(std::string_view digits, unsigned base, const CancelCheck* cancel) {
    const CancelCheck reading = partOf(cancel, 0.05);
    const Natural n = fromDigits(digits, &reading);
    reading.finish();
    const CancelCheck writing = partOf(cancel, 0.95);
    return toBase(n, base, &writing);
}

std::string fromBaseDigits(std::string_view text, unsigned base, const CancelCheck* cancel) {
    Natural n;
    {
        const CancelCheck reading = partOf(cancel, 0.95);
        n = fromBase(text, base, &reading);
    }
    std::string out = toDigits(n, 0, cancel);
    finish(cancel);
    return out;
}

} // namespace longhand::fast
