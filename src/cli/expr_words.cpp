#include "expr_words.h"

#include "core/lengthline.h"
#include "core/numbershape.h"
#include "refusalwords.h"

namespace longhand::cli {

namespace {

// A typed piece of the line in quotes, control bytes escaped so that they
// cannot garble the terminal.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            static constexpr char kHex[] = "0123456789abcdef";
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string digits(std::int64_t n) {
    return withThousands(n) + (n == 1 ? " digit" : " digits");
}

} // namespace

std::string refusalText(const expr::Refusal& r) {
    using K = expr::RefusalKind;
    const std::string at = " at column " + std::to_string(r.column);
    switch (r.kind) {
    case K::UnexpectedToken:
        return "unexpected " + quoted(r.data) + at;
    case K::UnexpectedEnd:
        return "the expression ends too soon" + at;
    case K::UnknownCharacter:
        return "unknown character " + quoted(r.data) + at;
    case K::MalformedNumber:
        return "malformed number " + quoted(r.data) + at;
    case K::UnclosedQuote:
        return "the quoted file name has no closing quote" + at;
    case K::UnclosedText:
        return "the quoted text has no closing quote" + at;
    case K::UnknownName:
        return "unknown name " + quoted(r.data) + at;
    case K::WrongArgumentCount:
        return "wrong number of arguments for " + r.data + at;
    case K::TooDeep:
        return "the expression nests too deeply" + at;
    case K::FileRefused:
        return r.data;
    case K::EmptyFile:
        return quoted(r.data) + " holds no number";
    case K::NoAnswer:
        return "no earlier result for \"ans\"" + at;
    case K::NoEntry:
        return "no entry #" + r.data + at;
    case K::DivisionByZero:
        return "Division by zero.";
    case K::ExponentNotWhole:
        return "the exponent must be a whole number" + at;
    case K::NotWhole:
        return "the argument of " + r.data + " must be a whole number" + at;
    case K::Negative:
        return "the argument of " + r.data + " must not be negative" + at;
    case K::NotDigit:
        return "the repetition flag of " + r.data + " must be one digit" + at;
    case K::TooLong:
        return "The result would be too long to hold.";
    case K::NotEnoughMemory:
        if (r.data.empty()) return "Not enough memory for numbers this long.";
        return "The result would have about " + aboutLength(std::stod(r.data)) +
               " digits: more than this computer can hold.";
    case K::EngineRefused: {
        // The engine's words, its operands named as the function's arguments.
        std::string said = refusalWords(
            r.engine, {"the first argument of " + r.data, "the second argument of " + r.data});
        if (!said.empty() && said.back() == '.') said.pop_back();
        return said + at;
    }
    case K::NotANumber:
        return quoted(r.data) + " takes numbers, not a text," + at;
    case K::NotAText:
        return "the first argument of " + r.data + " must be a text in quotes, such as \"ff\"," +
               at;
    case K::Cancelled:
        return "Cancelled.";
    }
    return "refused" + at;
}

std::string description(const expr::Shown& shown) {
    switch (shown.kind) {
    case expr::ShownKind::Ends:
        return lengthLineText(shapeOf(shown.text), false, 0);
    case expr::ShownKind::Repeats:
        return "period of " + digits(shown.period) +
               (shown.prePeriod > 0 ? " after " + withThousands(shown.prePeriod) : "");
    case expr::ShownKind::Cut:
        return lengthLineText(shapeOf(shown.text), true, 0);
    case expr::ShownKind::Text:
        return textLengthText(shown.text, shown.base);
    case expr::ShownKind::Answer:
        break; // the answer says it all
    }
    return {};
}

} // namespace longhand::cli
