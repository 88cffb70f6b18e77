#include "expressionwords.h"

#include "core/lengthline.h"
#include "core/numbershape.h"
#include "ui/common/refusalwords.h"

namespace longhand {

namespace {

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string withColumn(std::string words, std::int64_t column) {
    if (column > 0) words += " at column " + std::to_string(column);
    return words;
}

} // namespace

std::string refusalWords(const expr::Refusal& r) {
    using K = expr::RefusalKind;
    switch (r.kind) {
    case K::UnexpectedToken:
        return withColumn("unexpected " + quoted(r.data), r.column);
    case K::UnexpectedEnd:
        return withColumn("the expression ends too early", r.column);
    case K::UnknownCharacter:
        return withColumn("unknown character " + quoted(r.data), r.column);
    case K::MalformedNumber:
        return withColumn(quoted(r.data) + " is not a number", r.column);
    case K::UnclosedQuote:
        return withColumn("a quoted file name is not closed", r.column);
    case K::UnclosedText:
        return withColumn("a quoted text is not closed", r.column);
    case K::UnknownName:
        return withColumn("unknown name " + quoted(r.data), r.column);
    case K::WrongArgumentCount:
        return withColumn("wrong arguments, use " + r.data, r.column);
    case K::TooDeep:
        return withColumn("too deeply nested", r.column);
    case K::FileRefused:
        return withColumn(r.data, r.column);
    case K::EmptyFile:
        return withColumn(quoted(r.data) + " holds no digit", r.column);
    case K::NoAnswer:
        return withColumn("ans has no value yet", r.column);
    case K::NoEntry:
        return withColumn("the history holds no value #" + r.data, r.column);
    case K::DivisionByZero:
        return "Division by zero.";
    case K::ExponentNotWhole:
        return withColumn("the exponent must be a whole number", r.column);
    case K::NotWhole:
        return withColumn(r.data + " must be a whole number", r.column);
    case K::Negative:
        return withColumn(r.data + " must not be negative", r.column);
    case K::NotDigit:
        return withColumn(r.data + " must be a single digit", r.column);
    case K::TooLong:
        return withColumn("the result would be too long", r.column);
    case K::NotEnoughMemory:
        if (r.data.empty()) return withColumn("not enough memory", r.column);
        return refusalText({RefusalKind::ResultTooLarge, Refusal::kNoOperand, std::stod(r.data)});
    case K::EngineRefused:
        // What the windows say for the engine's own refusal.
        return withColumn(refusalText(r.engine), r.column);
    case K::NotANumber:
        return withColumn(quoted(r.data) + " takes numbers, not a text", r.column);
    case K::NotAText:
        return withColumn(r.data + " reads a text in quotes, such as \"ff\"", r.column);
    case K::Cancelled:
        return "Cancelled.";
    }
    return withColumn("refused", r.column);
}

std::string shownNote(const expr::Shown& shown) {
    switch (shown.kind) {
    case expr::ShownKind::Ends:
        return lengthLineText(shapeOf(shown.text), false, 0);
    case expr::ShownKind::Cut:
        return lengthLineText(shapeOf(shown.text), true, 0);
    case expr::ShownKind::Text:
        return textLengthText(shown.text, shown.base);
    case expr::ShownKind::Answer:
        return {}; // the answer says it all
    case expr::ShownKind::Repeats:
        break;
    }
    return "period of " + withThousands(shown.period) + (shown.period == 1 ? " digit" : " digits") +
           " after " + withThousands(shown.prePeriod);
}

} // namespace longhand
