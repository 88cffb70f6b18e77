// sqrt, root, gcd, lcm, base, frombase, powmod, isprime, nextprime: the
// functions of the expression language of the same names, one command each.
#include "commands.h"
#include "engine/mathfunctions.h"

#include <optional>

namespace longhand::cli {

namespace {

std::optional<std::string_view> placesOf(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return text;
}

Outcome runSqrt(std::vector<std::string>& v, Progress& progress) {
    return root(v[0], "2", placesOf(v[1]), progress);
}

Outcome runRoot(std::vector<std::string>& v, Progress& progress) {
    return root(v[0], v[1], placesOf(v[2]), progress);
}

const CommandRegistrar sqrtCommand({"sqrt",
                                    {"X", "[PLACES]"},
                                    "the square root of X, exact or cut after PLACES decimals",
                                    110,
                                    runSqrt,
                                    "2 30",
                                    false,
                                    true,
                                    {},
                                    {"X", "2", "PLACES"}});
const CommandRegistrar
    rootCommand({"root",
                 {"X", "K", "[PLACES]"},
                 "the K-th root of X (K >= 2), exact or cut after PLACES decimals",
                 120,
                 runRoot,
                 "27 3",
                 false,
                 true});
const CommandRegistrar
    gcdCommand({"gcd",
                {"A", "B", "..."},
                "the greatest common divisor of whole numbers",
                130,
                [](std::vector<std::string>& v, Progress& p) { return gcd(v, p); },
                "12 18 30"});
const CommandRegistrar
    lcmCommand({"lcm",
                {"A", "B", "..."},
                "the least common multiple of whole numbers",
                140,
                [](std::vector<std::string>& v, Progress& p) { return lcm(v, p); },
                "4 6 10"});
const CommandRegistrar
    baseCommand({"base",
                 {"X", "B"},
                 "the whole number X in base B (2 to 36, digits 0-9 then a-z)",
                 150,
                 [](std::vector<std::string>& v, Progress& p) { return toBase(v[0], v[1], p); },
                 "255 16"});
const CommandRegistrar fromBaseCommand({"frombase",
                                        {"TEXT", "B"},
                                        "the number written TEXT in base B (2 to 36)",
                                        160,
                                        [](std::vector<std::string>& v, Progress& p) {
                                            return fromBase(v[0], v[1], p);
                                        },
                                        "ff 16",
                                        true});
const CommandRegistrar powModCommand({"powmod",
                                      {"A", "E", "M"},
                                      "A to the power E modulo M (E >= 0, M >= 1)",
                                      170,
                                      [](std::vector<std::string>& v, Progress& p) {
                                          return powMod(v[0], v[1], v[2], p);
                                      },
                                      "2 100 1000007"});
const CommandRegistrar
    isPrimeCommand({"isprime",
                    {"N"},
                    "prime, probable prime (BPSW) or composite",
                    180,
                    [](std::vector<std::string>& v, Progress& p) { return isPrime(v[0], p); },
                    "2147483647"});
const CommandRegistrar
    nextPrimeCommand({"nextprime",
                      {"N"},
                      "the least prime above N",
                      190,
                      [](std::vector<std::string>& v, Progress& p) { return nextPrime(v[0], p); },
                      "1000000"});

} // namespace

} // namespace longhand::cli
