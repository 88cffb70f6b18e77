// add, sub, mul, div: the main window's four buttons; pow: the function
// dialog's Power mode.
#include "commands.h"
#include "engine/operations.h"
#include "engine/power.h"

#include <utility>

namespace longhand::cli {

namespace {

Command calculation(const char* name, Operation operation, const char* summary, int order,
                    const char* example) {
    return {name,
            {"A", "B"},
            summary,
            order,
            [operation](std::vector<std::string>& v, Progress& progress) {
                // Handed over: a long product frees them once it has read them.
                return calculateOwned(operation, std::move(v[0]), std::move(v[1]), progress);
            },
            example};
}

const CommandRegistrar add(calculation("add", Operation::Add, "A + B", 10, "12.5 -3"));
const CommandRegistrar sub(calculation("sub", Operation::Subtract, "A - B", 20, "1 0.001"));
const CommandRegistrar mul(calculation("mul", Operation::Multiply, "A * B", 30, "0.5 0.5"));
const CommandRegistrar div(calculation("div", Operation::Divide,
                                       "A / B, cut off after a number of places that depends "
                                       "on the lengths",
                                       40, "22 7"));
const CommandRegistrar pow({"pow",
                            {"BASE", "EXP"},
                            "BASE to the power EXP, a whole number",
                            50,
                            [](std::vector<std::string>& v, Progress& progress) {
                                return power(v[0], v[1], progress);
                            },
                            "2 100"});

} // namespace

} // namespace longhand::cli
