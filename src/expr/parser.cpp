#include "parser.h"

#include "refusal.h"

namespace longhand::expr {

namespace {

class Parser {
  public:
    explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

    Node line() {
        Node root = sum();
        expectEnd();
        return root;
    }

  private:
    const Token& peek() const { return tokens_[pos_]; }
    Token take() { return tokens_[pos_++]; }

    [[noreturn]] void unexpected(const Token& token) const {
        if (token.kind == TokenKind::End)
            throw Refused(RefusalKind::UnexpectedEnd, "", token.column);
        throw Refused(RefusalKind::UnexpectedToken, token.text, token.column);
    }
    void expectEnd() const {
        if (peek().kind != TokenKind::End) unexpected(peek());
    }

    // Counts one level of nesting for as long as it lives.
    struct Level {
        Level(int& depth, std::int64_t column) : depth_(depth) {
            if (++depth_ > kMaxNesting) throw Refused(RefusalKind::TooDeep, "", column);
        }
        ~Level() { --depth_; }
        int& depth_;
    };

    Node chain(TokenKind a, TokenKind b, Node (Parser::*operand)()) {
        Node first = (this->*operand)();
        if (peek().kind != a && peek().kind != b) return first;
        Node node;
        node.kind = Node::Kind::Chain;
        node.column = peek().column;
        node.children.push_back(std::move(first));
        while (peek().kind == a || peek().kind == b) {
            node.ops.push_back(take());
            node.children.push_back((this->*operand)());
        }
        return node;
    }

    Node sum() { return chain(TokenKind::Plus, TokenKind::Minus, &Parser::product); }
    Node product() { return chain(TokenKind::Times, TokenKind::Divide, &Parser::unary); }

    Node unary() {
        if (peek().kind != TokenKind::Minus) return power();
        const Token minus = take();
        Level level(depth_, minus.column);
        Node node;
        node.kind = Node::Kind::Negate;
        node.column = minus.column;
        node.children.push_back(unary());
        return node;
    }

    Node power() {
        Node base = postfix();
        if (peek().kind != TokenKind::Power) return base;
        const Token caret = take();
        Level level(depth_, caret.column);
        Node node;
        node.kind = Node::Kind::Power;
        node.column = caret.column;
        node.children.push_back(std::move(base));
        node.children.push_back(unary());
        return node;
    }

    Node postfix() {
        Node node = primary();
        int levels = 0;
        while (peek().kind == TokenKind::Bang) {
            const Token bang = take();
            if (depth_ + ++levels > kMaxNesting)
                throw Refused(RefusalKind::TooDeep, "", bang.column);
            Node outer;
            outer.kind = Node::Kind::Factorial;
            outer.column = bang.column;
            outer.children.push_back(std::move(node));
            node = std::move(outer);
        }
        return node;
    }

    Node primary() {
        const Token token = take();
        Node node;
        node.text = token.text;
        node.column = token.column;
        switch (token.kind) {
        case TokenKind::Number:
            node.kind = Node::Kind::Number;
            return node;
        case TokenKind::File:
            node.kind = Node::Kind::File;
            return node;
        case TokenKind::Text:
            node.kind = Node::Kind::Text;
            return node;
        case TokenKind::Entry:
            node.kind = Node::Kind::Entry;
            return node;
        case TokenKind::Name:
            if (peek().kind != TokenKind::Open) {
                node.kind = Node::Kind::Constant;
                return node;
            }
            node.kind = Node::Kind::Call;
            take();
            {
                Level level(depth_, token.column);
                if (peek().kind != TokenKind::Close) {
                    node.children.push_back(sum());
                    while (peek().kind == TokenKind::Comma) {
                        take();
                        node.children.push_back(sum());
                    }
                }
            }
            if (peek().kind != TokenKind::Close) unexpected(peek());
            take();
            return node;
        case TokenKind::Open: {
            Level level(depth_, token.column);
            node = sum();
            if (peek().kind != TokenKind::Close) unexpected(peek());
            take();
            return node;
        }
        default:
            unexpected(token);
        }
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0;
};

} // namespace

Node parse(std::string_view line) {
    return Parser(tokenize(line)).line();
}

} // namespace longhand::expr
