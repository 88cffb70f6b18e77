#include "mathfunctions.h"

#include "fast/fast.h"
#include "fast/natural.h"
#include "fast/size_limits.h"
#include "numtext.h"

#include <new>
#include <stdexcept>

namespace longhand {

namespace {

// A whole number text: optional "-", digits (at least one).
struct Whole {
    bool negative = false;
    std::string digits; // no leading zeros, "0" for zero
};

std::optional<Whole> wholeOf(std::string_view text) {
    Whole w;
    if (!text.empty() && text.front() == '-') {
        w.negative = true;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9') return std::nullopt;
    const std::size_t first = text.find_first_not_of('0');
    w.digits = first == std::string_view::npos ? "0" : std::string(text.substr(first));
    if (w.digits == "0") w.negative = false;
    return w;
}

std::optional<std::uint64_t> smallCount(std::string_view text) {
    const std::optional<Whole> w = wholeOf(text);
    if (!w || w->negative || w->digits.size() > 18) return std::nullopt;
    return std::stoull(w->digits);
}

// Runs the fast arithmetic with the progress token's check; its
// exceptions become outcomes.
template <class Work> Outcome guarded(Progress& progress, Work work) {
    const fast::CancelCheck check = progress.cancelCheck();
    try {
        Outcome o = work(&check);
        if (progress.cancelled()) return Outcome::cancelled();
        return o;
    } catch (const fast::Cancelled&) {
        return Outcome::cancelled();
    } catch (const std::length_error&) {
        return Outcome::refused(RefusalKind::ResultTooLong);
    } catch (const std::bad_alloc&) {
        return Outcome::refused(RefusalKind::ResultTooLong);
    }
}

std::string signed_(bool negative, std::string digits) {
    if (negative && digits != "0") digits.insert(0, 1, '-');
    return digits;
}

// digits / 10^places as a number text; an exact one without trailing
// fraction zeros, a cut one with all its places.
std::string withPoint(std::string digits, std::uint64_t places, bool exact) {
    placePoint(digits, static_cast<Count>(places));
    if (exact) tidyPointZeros(digits);
    return digits;
}

} // namespace

std::uint64_t defaultRootPlaces(std::string_view x) {
    if (!x.empty() && x.front() == '-') x.remove_prefix(1);
    const std::size_t point = x.find('.');
    const std::uint64_t decimals = point == std::string_view::npos ? 0 : x.size() - point - 1;
    std::string digits;
    for (char c : x)
        if (c != '.') digits += c;
    const std::size_t first = digits.find_first_not_of('0');
    const std::uint64_t length = first == std::string::npos ? 0 : digits.size() - first;
    return (length > 1 ? length + 1 : 20) + decimals;
}

Outcome root(std::string_view x, std::string_view kText, std::optional<std::string_view> placesText,
             Progress& progress) {
    if (!isNumberText(x) || x.empty()) return Outcome::refused(RefusalKind::NotANumber, 0);
    const std::optional<std::uint64_t> k = smallCount(kText);
    if (!k || *k < 2) return Outcome::refused(RefusalKind::RootDegreeTooSmall, 1);
    std::uint64_t places = 0;
    if (placesText) {
        const std::optional<std::uint64_t> p = smallCount(*placesText);
        if (!p) return Outcome::refused(RefusalKind::PlacesNotWhole, 2);
        places = *p;
    } else {
        places = defaultRootPlaces(x);
    }
    bool negative = x.front() == '-';
    if (negative) x.remove_prefix(1);
    const std::size_t point = x.find('.');
    const std::uint64_t decimals = point == std::string_view::npos ? 0 : x.size() - point - 1;
    std::string digits;
    digits.reserve(x.size());
    for (char c : x)
        if (c != '.') digits += c;
    const std::size_t first = digits.find_first_not_of('0');
    digits.erase(0, first == std::string::npos ? digits.size() : first);
    if (digits.empty()) return Outcome::result("0");
    if (negative && *k % 2 == 0) return Outcome::refused(RefusalKind::EvenRootOfNegative, 0);
    // root(D / 10^f) to d places is floor(root(D 10^(k d - f))) / 10^d.
    const double scaled = static_cast<double>(*k) * static_cast<double>(places);
    if (*k >= 1000000000u || scaled + static_cast<double>(digits.size()) > fast::kMaxResultDigits)
        return Outcome::refused(RefusalKind::ResultTooLong);
    const std::uint64_t kd = *k * places;
    bool dropped = false;
    if (kd >= decimals) {
        digits.append(kd - decimals, '0');
    } else {
        const std::uint64_t cut = decimals - kd;
        const std::size_t keep = digits.size() > cut ? digits.size() - cut : 0;
        dropped = digits.find_first_not_of('0', keep) != std::string::npos;
        digits.resize(keep);
    }
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        const fast::RootDigits r = fast::rootDigits(digits, *k, cancel);
        const bool cut = !r.exact || dropped;
        Outcome o = Outcome::result(signed_(negative, withPoint(r.root, places, !cut)));
        o.cut = cut;
        return o;
    });
}

namespace {

std::optional<std::vector<Whole>> wholes(const std::vector<std::string>& values) {
    std::vector<Whole> out;
    for (const std::string& v : values) {
        std::optional<Whole> w = wholeOf(v);
        if (!w) return std::nullopt;
        out.push_back(std::move(*w));
    }
    return out;
}

// The refusal of the first of `values` that is not a whole number.
Outcome notWhole(const std::vector<std::string>& values) {
    for (std::size_t i = 0; i < values.size(); ++i)
        if (!wholeOf(values[i]))
            return Outcome::refused(RefusalKind::NotWholeArgument, static_cast<int>(i));
    return Outcome::refused(RefusalKind::NotWholeArgument);
}

} // namespace

Outcome gcd(const std::vector<std::string>& values, Progress& progress) {
    if (values.size() < 2) return Outcome::refused(RefusalKind::TooFewArguments);
    const auto w = wholes(values);
    if (!w) return notWhole(values);
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        std::string g = (*w)[0].digits;
        for (std::size_t i = 1; i < w->size() && g != "1"; ++i) {
            const fast::CancelCheck part = partOf(cancel, 1.0 / static_cast<double>(w->size()));
            g = fast::gcdDigits(g, (*w)[i].digits, &part);
        }
        return Outcome::result(g);
    });
}

Outcome lcm(const std::vector<std::string>& values, Progress& progress) {
    if (values.size() < 2) return Outcome::refused(RefusalKind::TooFewArguments);
    const auto w = wholes(values);
    if (!w) return notWhole(values);
    double digits = 0;
    for (const Whole& v : *w)
        digits += static_cast<double>(v.digits.size());
    if (digits > fast::kMaxResultDigits) return Outcome::refused(RefusalKind::ResultTooLong);
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        std::string l = (*w)[0].digits;
        for (std::size_t i = 1; i < w->size() && l != "0"; ++i) {
            const std::string& v = (*w)[i].digits;
            if (v == "0") {
                l = "0";
                break;
            }
            const fast::CancelCheck part = partOf(cancel, 1.0 / static_cast<double>(w->size()));
            const std::string g = fast::gcdDigits(l, v, &part);
            l = fast::mulDigits(fast::divDigits(l, g, &part).q, v, &part);
        }
        return Outcome::result(l);
    });
}

Outcome toBase(std::string_view x, std::string_view b, Progress& progress) {
    const std::optional<std::uint64_t> base = smallCount(b);
    if (!base || *base < 2 || *base > 36) return Outcome::refused(RefusalKind::BaseOutOfRange, 1);
    const std::optional<Whole> w = wholeOf(x);
    if (!w) return Outcome::refused(RefusalKind::NotWholeArgument, 0);
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        return Outcome::result(signed_(
            w->negative, fast::toBaseDigits(w->digits, static_cast<unsigned>(*base), cancel)));
    });
}

Outcome fromBase(std::string_view text, std::string_view b, Progress& progress) {
    const std::optional<std::uint64_t> base = smallCount(b);
    if (!base || *base < 2 || *base > 36) return Outcome::refused(RefusalKind::BaseOutOfRange, 1);
    const bool negative = !text.empty() && text.front() == '-';
    if (negative) text.remove_prefix(1);
    if (text.empty()) return Outcome::refused(RefusalKind::NotInBase, 0);
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        try {
            return Outcome::result(signed_(
                negative, fast::fromBaseDigits(text, static_cast<unsigned>(*base), cancel)));
        } catch (const std::invalid_argument&) {
            return Outcome::refused(RefusalKind::NotInBase, 0);
        }
    });
}

Outcome powMod(std::string_view a, std::string_view e, std::string_view m, Progress& progress) {
    const std::optional<Whole> wa = wholeOf(a), we = wholeOf(e), wm = wholeOf(m);
    if (!wa || !we || !wm)
        return Outcome::refused(RefusalKind::NotWholeArgument, !wa ? 0 : (!we ? 1 : 2));
    if (we->negative) return Outcome::refused(RefusalKind::NegativeExponent, 1);
    if (wm->negative || wm->digits == "0") return Outcome::refused(RefusalKind::ModulusBelowOne, 2);
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        std::string r = fast::powModDigits(wa->digits, we->digits, wm->digits, cancel);
        // (-a)^e = a^e for even e; otherwise the residue of -(a^e).
        const bool odd = ((we->digits.back() - '0') & 1) != 0;
        if (wa->negative && odd && r != "0") r = fast::subDigits(wm->digits, r);
        return Outcome::result(r);
    });
}

Answer primalityOfWhole(std::string_view digits, const fast::CancelCheck* cancel) {
    switch (fast::primalityOfDigits(digits, cancel)) {
    case fast::Primality::Prime:
        return Answer::Prime;
    case fast::Primality::ProbablePrime:
        return Answer::ProbablePrime;
    case fast::Primality::Composite:
        return Answer::Composite;
    case fast::Primality::Neither:
        break;
    }
    return Answer::NeitherPrimeNorComposite;
}

Outcome isPrime(std::string_view n, Progress& progress) {
    const std::optional<Whole> w = wholeOf(n);
    if (!w) return Outcome::refused(RefusalKind::NotWholeArgument, 0);
    if (w->negative) return Outcome::answered(Answer::NeitherPrimeNorComposite);
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        return Outcome::answered(primalityOfWhole(w->digits, cancel));
    });
}

Outcome nextPrime(std::string_view n, Progress& progress) {
    const std::optional<Whole> w = wholeOf(n);
    if (!w) return Outcome::refused(RefusalKind::NotWholeArgument, 0);
    if (w->negative) return Outcome::result("2");
    return guarded(progress, [&](const fast::CancelCheck* cancel) {
        return Outcome::result(fast::nextPrimeDigits(w->digits, cancel));
    });
}

} // namespace longhand
