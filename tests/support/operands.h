// The operand generator of the randomized tests: digit strings of chosen
// lengths and shapes, and number texts around them.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

namespace longhand::test {

// The shapes where carries, borrows and estimates go wrong first.
enum class Shape {
    Random,          // uniform digits
    Nines,           // 10^len - 1: all nines
    PowerOfTen,      // 10^(len-1): "1" and zeros
    PowerPlusOne,    // 10^(len-1) + 1: "1", zeros, "1"
    ZeroAndNineRuns, // runs of zeros and of nines between random digits
    Count
};

inline Shape shapeOf(std::size_t i) {
    return static_cast<Shape>(i % static_cast<std::size_t>(Shape::Count));
}

inline Shape anyShape(std::mt19937_64& rng) {
    return shapeOf(static_cast<std::size_t>(rng()));
}

inline std::size_t uniform(std::mt19937_64& rng, std::size_t lo, std::size_t hi) {
    return lo + static_cast<std::size_t>(rng() % (hi - lo + 1));
}

// A digit string of exactly len digits, without a leading zero ("" for 0).
inline std::string makeDigits(std::mt19937_64& rng, std::size_t len, Shape shape = Shape::Random) {
    if (len == 0) return "";
    auto digit = [&] { return static_cast<char>('0' + rng() % 10); };
    std::string s(len, '0');
    switch (shape) {
    case Shape::Nines:
        s.assign(len, '9');
        break;
    case Shape::PowerOfTen:
        s[0] = '1';
        break;
    case Shape::PowerPlusOne:
        s[0] = '1';
        s.back() = '1';
        break;
    case Shape::ZeroAndNineRuns:
        for (std::size_t i = 0; i < len;) {
            const std::size_t run = 1 + rng() % 40;
            const int kind = static_cast<int>(rng() % 3);
            for (std::size_t j = 0; j < run && i < len; ++j, ++i)
                s[i] = kind == 0 ? '0' : kind == 1 ? '9' : digit();
        }
        break;
    default:
        for (auto& c : s)
            c = digit();
        break;
    }
    if (s[0] == '0') s[0] = static_cast<char>('1' + rng() % 9);
    return s;
}

// Digits around a count of limbs of nine digits: 9 limbs + delta, at least 1.
inline std::size_t digitsAround(std::size_t limbs, int delta) {
    const std::int64_t d = static_cast<std::int64_t>(limbs) * 9 + delta;
    return d < 1 ? 1 : static_cast<std::size_t>(d);
}

// A number text around a digit string as the operand boxes may hold it: a
// point anywhere, a "-", leading zeros, trailing fraction zeros, or none.
inline std::string dress(std::mt19937_64& rng, std::string d) {
    if (rng() % 3 == 0) d.insert(uniform(rng, 0, d.size()), 1, '.');
    if (rng() % 6 == 0) d.insert(0, uniform(rng, 1, 3), '0');
    if (rng() % 8 == 0 && d.find('.') != std::string::npos) d.append(uniform(rng, 1, 3), '0');
    if (rng() % 3 == 0) d.insert(0, 1, '-');
    return d;
}

// A number text of 1 to maxDigits digits in any shape, dressed; lengths
// near the short machine-integer paths (14 to 16 digits) often, and a
// zero (written "0", "-0", "000" or "0.00") now and then.
inline std::string numberText(std::mt19937_64& rng, std::size_t maxDigits) {
    switch (rng() % 40) {
    case 0:
        return "0";
    case 1:
        return "-0";
    case 2:
        return dress(rng, std::string(uniform(rng, 1, 4), '0'));
    default:
        break;
    }
    std::size_t len = 0;
    switch (rng() % 4) {
    case 0:
        len = uniform(rng, 1, 20);
        break;
    case 1:
        len = uniform(rng, 12, 19);
        break;
    case 2:
        len = uniform(rng, 1, 60);
        break;
    default:
        len = uniform(rng, 1, maxDigits);
        break;
    }
    return dress(rng, makeDigits(rng, len, anyShape(rng)));
}

// A short form of a long text for failure messages.
inline std::string brief(std::string_view s) {
    if (s.size() <= 60) return std::string(s);
    return std::string(s.substr(0, 25)) + "...(" + std::to_string(s.size()) + ")..." +
           std::string(s.substr(s.size() - 25));
}

} // namespace longhand::test
