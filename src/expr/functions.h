// The functions an expression may call: a name, how many arguments it
// takes and what computes it. A family of functions lives in a source file
// of its own and adds its entries in one add...Functions(registry) call,
// listed in functions.cpp; the parser needs nothing new for a new name.
#pragma once

#include "engine/progress.h"
#include "fraction.h"
#include "value.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace longhand::expr {

// What a function's evaluator gets besides its arguments.
struct CallContext {
    Progress& progress;
    const fast::CancelCheck* cancel; // polls `progress`
    // Set when a function's value was cut after its last place (a root
    // that goes on): the whole value is then shown as cut.
    bool* cut;
};

struct Function {
    std::string name; // as typed; names are looked up without regard to case
    std::size_t minArguments = 0;
    std::size_t maxArguments = 0;
    std::string usage; // for the refusal of a wrong count: "P(n, r[, f])"
    // Throws Refused (refusal.h) for arguments it does not take; the
    // evaluation fills in the column of the call. Its arguments are
    // numbers: the evaluation refuses a text or an answer among them.
    std::function<Fraction(std::span<const Fraction> arguments, const CallContext& context)>
        evaluate;
    // Set instead of `evaluate` by a function that reads or gives a text or
    // an answer: its arguments as they are. `argumentColumns` has the column
    // of each, for a refusal that points at one.
    std::function<Value(std::span<const Value> arguments,
                        std::span<const std::int64_t> argumentColumns, const CallContext& context)>
        evaluateValues = {};
};

class FunctionRegistry {
  public:
    void add(Function function) { functions_.push_back(std::move(function)); }
    const Function* find(std::string_view name) const;

  private:
    std::vector<Function> functions_;
};

// Every function the language knows.
const FunctionRegistry& functions();

// The families, each in its own file.
void addCombinatoricFunctions(FunctionRegistry& registry); // P, C, prod, and n! itself
void addRoundingFunctions(FunctionRegistry& registry);     // round
void addMathFunctions(FunctionRegistry& registry); // sqrt, root, gcd, lcm, powmod, nextprime
void addTextFunctions(FunctionRegistry& registry); // base, frombase, isprime: texts, answers

// n! for the postfix "!": a whole n, not negative.
Fraction factorial(const Fraction& n, const CallContext& context);

// The argument as a whole number that is not negative, as digits; refuses
// (NotWhole, Negative) naming `what`.
std::string wholeArgument(const Fraction& value, std::string_view what);

} // namespace longhand::expr
