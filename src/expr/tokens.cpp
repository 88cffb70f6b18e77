#include "tokens.h"

#include "refusal.h"

namespace longhand::expr {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
bool isNameChar(char c) {
    return isNameStart(c) || isDigit(c);
}
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool isContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xc0) == 0x80;
}

// The operators written with a character beyond ASCII, as UTF-8.
struct WideOperator {
    std::string_view bytes;
    TokenKind kind;
};
constexpr WideOperator kWideOperators[] = {
    {"\xc3\x97", TokenKind::Times},     // multiplication sign
    {"\xc2\xb7", TokenKind::Times},     // middle dot
    {"\xe2\x8b\x85", TokenKind::Times}, // dot operator
    {"\xc3\xb7", TokenKind::Divide},    // division sign
    {"\xe2\x88\x92", TokenKind::Minus}, // minus sign
};

TokenKind asciiOperator(char c) {
    switch (c) {
    case '+':
        return TokenKind::Plus;
    case '-':
        return TokenKind::Minus;
    case '*':
        return TokenKind::Times;
    case '/':
        return TokenKind::Divide;
    case '^':
        return TokenKind::Power;
    case '!':
        return TokenKind::Bang;
    case '(':
        return TokenKind::Open;
    case ')':
        return TokenKind::Close;
    case ',':
        return TokenKind::Comma;
    default:
        return TokenKind::End;
    }
}

class Scanner {
  public:
    explicit Scanner(std::string_view line) : line_(line) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        while (true) {
            while (pos_ < line_.size() && isBlank(line_[pos_]))
                advance(1);
            if (pos_ >= line_.size()) break;
            tokens.push_back(next());
        }
        tokens.push_back({TokenKind::End, "", column_});
        return tokens;
    }

  private:
    Token next() {
        const std::int64_t column = column_;
        const std::size_t start = pos_;
        const char c = line_[pos_];
        if (c == '0' && pos_ + 1 < line_.size() && (line_[pos_ + 1] | 0x20) == 'x')
            return based(column, 16);
        if (c == '0' && pos_ + 1 < line_.size() && (line_[pos_ + 1] | 0x20) == 'b')
            return based(column, 2);
        if (isDigit(c) || c == '.') {
            int points = 0;
            bool digits = false;
            while (pos_ < line_.size() && (isDigit(line_[pos_]) || line_[pos_] == '.')) {
                points += line_[pos_] == '.';
                digits = digits || isDigit(line_[pos_]);
                advance(1);
            }
            std::string text(line_.substr(start, pos_ - start));
            if (points > 1 || !digits)
                throw Refused(RefusalKind::MalformedNumber, std::move(text), column);
            return {TokenKind::Number, std::move(text), column};
        }
        if (isNameStart(c)) {
            while (pos_ < line_.size() && isNameChar(line_[pos_]))
                advance(1);
            return {TokenKind::Name, std::string(line_.substr(start, pos_ - start)), column};
        }
        if (c == '#') {
            advance(1);
            const std::size_t from = pos_;
            while (pos_ < line_.size() && isDigit(line_[pos_]))
                advance(1);
            if (pos_ == from) throw Refused(RefusalKind::UnexpectedToken, "#", column);
            return {TokenKind::Entry, std::string(line_.substr(from, pos_ - from)), column};
        }
        if (c == '@') return file(column);
        if (c == '"' || c == '\'') return text(column);
        if (const TokenKind kind = asciiOperator(c); kind != TokenKind::End) {
            advance(1);
            return {kind, std::string(1, c), column};
        }
        for (const WideOperator& op : kWideOperators) {
            if (line_.substr(pos_, op.bytes.size()) == op.bytes) {
                advance(op.bytes.size());
                return {op.kind, std::string(op.bytes), column};
            }
        }
        // The whole character, however many bytes it has.
        advance(1);
        while (pos_ < line_.size() && isContinuation(line_[pos_]))
            advance(1);
        throw Refused(RefusalKind::UnknownCharacter, std::string(line_.substr(start, pos_ - start)),
                      column);
    }

    // 0x1f and 0b101: "0x" or "0b" and the digits of the base, kept as
    // typed (the evaluation reads them).
    Token based(std::int64_t column, int base) {
        const std::size_t start = pos_;
        advance(2);
        auto digit = [&](char ch) {
            if (base == 2) return ch == '0' || ch == '1';
            return isDigit(ch) || ((ch | 0x20) >= 'a' && (ch | 0x20) <= 'f');
        };
        while (pos_ < line_.size() && (digit(line_[pos_]) || isNameChar(line_[pos_])))
            advance(1);
        std::string text(line_.substr(start, pos_ - start));
        for (std::size_t i = 2; i < text.size(); ++i)
            if (!digit(text[i]))
                throw Refused(RefusalKind::MalformedNumber, std::move(text), column);
        if (text.size() == 2) throw Refused(RefusalKind::MalformedNumber, std::move(text), column);
        return {TokenKind::Number, std::move(text), column};
    }

    // @path runs to a blank, ")" or ","; @"path" to its closing quote
    // (quoted() below).
    Token file(std::int64_t column) {
        advance(1);
        std::string path;
        if (pos_ < line_.size() && line_[pos_] == '"') {
            path = quoted(column, RefusalKind::UnclosedQuote, false);
        } else {
            while (pos_ < line_.size() && !isBlank(line_[pos_]) && line_[pos_] != ')' &&
                   line_[pos_] != ',') {
                path += line_[pos_];
                advance(1);
            }
        }
        if (path.empty()) throw Refused(RefusalKind::UnexpectedToken, "@", column);
        return {TokenKind::File, std::move(path), column};
    }

    // "text" or 'text': printable ASCII only, since a text is shown
    // character by character as a number is.
    Token text(std::int64_t column) {
        return {TokenKind::Text, quoted(column, RefusalKind::UnclosedText, true), column};
    }

    // What stands between the quote at pos_ and the same quote closing it,
    // with a backslash before that quote or a backslash standing for the
    // character itself.
    std::string quoted(std::int64_t column, RefusalKind unclosed, bool asciiOnly) {
        const char quote = line_[pos_];
        advance(1);
        std::string out;
        while (true) {
            if (pos_ >= line_.size()) throw Refused(unclosed, "", column);
            char c = line_[pos_];
            if (c == quote) {
                advance(1);
                return out;
            }
            if (c == '\\' && pos_ + 1 < line_.size() &&
                (line_[pos_ + 1] == quote || line_[pos_ + 1] == '\\')) {
                advance(1);
                c = line_[pos_];
            }
            if (asciiOnly && (c < 0x20 || c > 0x7e)) {
                const std::int64_t at = column_;
                const std::size_t start = pos_;
                advance(1);
                while (pos_ < line_.size() && isContinuation(line_[pos_]))
                    advance(1);
                throw Refused(RefusalKind::UnknownCharacter,
                              std::string(line_.substr(start, pos_ - start)), at);
            }
            out += c;
            advance(1);
        }
    }

    void advance(std::size_t bytes) {
        for (std::size_t i = 0; i < bytes; ++i, ++pos_)
            if (!isContinuation(line_[pos_])) ++column_;
    }

    std::string_view line_;
    std::size_t pos_ = 0;
    std::int64_t column_ = 1;
};

} // namespace

std::vector<Token> tokenize(std::string_view line) {
    return Scanner(line).run();
}

} // namespace longhand::expr
