// add, sub, mul, div: the main window's four buttons; pow: the function
// dialog's Power mode.
#include "commands.h"

namespace longhand::cli {

namespace {

Command fourOperation(const char* name, int code, const char* summary, int order) {
    return {
        name, {"A", "B"}, summary, order, [code](std::vector<std::string>& v, EngineHost& host) {
            return runFourOperation(code, std::move(v[0]), std::move(v[1]), host);
        }};
}

const CommandRegistrar add(fourOperation("add", OpAdd, "A + B", 10));
const CommandRegistrar sub(fourOperation("sub", OpSubtract, "A - B", 20));
const CommandRegistrar mul(fourOperation("mul", OpMultiply, "A * B", 30));
const CommandRegistrar div(fourOperation("div", OpDivide,
                                         "A / B, cut off after a number of places that depends "
                                         "on the lengths",
                                         40));
const CommandRegistrar pow({"pow",
                            {"BASE", "EXP"},
                            "BASE to the power EXP, a whole number",
                            50,
                            [](std::vector<std::string>& v, EngineHost& host) {
                                return runPower(std::move(v[0]), std::move(v[1]), host);
                            }});

} // namespace

} // namespace longhand::cli
