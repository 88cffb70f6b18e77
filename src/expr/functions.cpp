#include "functions.h"

#include "refusal.h"

#include <algorithm>

namespace longhand::expr {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

FunctionRegistry build() {
    FunctionRegistry registry;
    addCombinatoricFunctions(registry);
    addRoundingFunctions(registry);
    addMathFunctions(registry);
    addTextFunctions(registry);
    return registry;
}

} // namespace

const Function* FunctionRegistry::find(std::string_view name) const {
    for (const Function& f : functions_)
        if (sameName(f.name, name)) return &f;
    return nullptr;
}

const FunctionRegistry& functions() {
    static const FunctionRegistry registry = build();
    return registry;
}

std::string wholeArgument(const Fraction& value, std::string_view what) {
    if (!value.isInteger()) throw Refused(RefusalKind::NotWhole, std::string(what));
    if (value.negative) throw Refused(RefusalKind::Negative, std::string(what));
    return value.num;
}

} // namespace longhand::expr
