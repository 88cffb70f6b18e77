#include "core/operands.h"
#include "engine/fast/fast.h"
#include "expr.h"
#include "functions.h"
#include "parser.h"

#include <new>
#include <stdexcept>
#include <vector>

namespace longhand::expr {

namespace {

bool isAns(std::string_view name) {
    return name.size() == 3 && (name[0] | 0x20) == 'a' && (name[1] | 0x20) == 'n' &&
           (name[2] | 0x20) == 's';
}

// Where the text of `node` begins: an operation's node stands at its
// operator, and a refusal that points at a whole argument points here.
std::int64_t startColumn(const Node& node) {
    switch (node.kind) {
    case Node::Kind::Chain:
    case Node::Kind::Power:
    case Node::Kind::Factorial:
        return startColumn(node.children[0]);
    default:
        return node.column;
    }
}

class Evaluator {
  public:
    Evaluator(const Environment& env, Progress& progress, const fast::CancelCheck* cancel)
        : env_(env), context_{progress, cancel, &cut_} {}

    // A value in the evaluation was cut after its last place.
    bool cut() const { return cut_; }

    Value value(const Node& node) {
        try {
            return compute(node);
        } catch (Refused& refused) {
            if (refused.refusal.column == 0) refused.refusal.column = node.column;
            throw;
        }
    }

  private:
    // The value of `node` where `what` (an operator or a function) takes a
    // number: a text or an answer there is refused, pointing at it.
    Fraction number(const Node& node, std::string_view what) {
        Value v = value(node);
        if (!v.isNumber()) throw Refused(RefusalKind::NotANumber, std::string(what), node.column);
        return std::move(v.number);
    }

    Value compute(const Node& node) {
        const fast::CancelCheck* cancel = context_.cancel;
        switch (node.kind) {
        case Node::Kind::Number:
            if (node.text.size() > 2 && node.text[0] == '0' &&
                ((node.text[1] | 0x20) == 'x' || (node.text[1] | 0x20) == 'b'))
                return Fraction::integer(fast::fromBaseDigits(std::string_view(node.text).substr(2),
                                                              (node.text[1] | 0x20) == 'x' ? 16 : 2,
                                                              cancel));
            return *fromNumberText(node.text, cancel);
        case Node::Kind::Text:
            return Value::ofText(node.text);
        case Node::Kind::File:
            return file(node.text);
        case Node::Kind::Entry:
            return entry(node.text);
        case Node::Kind::Constant:
            return constant(node.text);
        case Node::Kind::Call:
            return call(node);
        case Node::Kind::Negate:
            return negate(number(node.children[0], "-"));
        case Node::Kind::Factorial:
            return factorial(number(node.children[0], "!"), context_);
        case Node::Kind::Power: {
            const Fraction base = number(node.children[0], "^");
            return power(base, number(node.children[1], "^"), cancel);
        }
        case Node::Kind::Chain:
            return chain(node);
        }
        throw std::logic_error("unknown node");
    }

    Fraction chain(const Node& node) {
        Fraction result = number(node.children[0], node.ops[0].text);
        for (std::size_t i = 0; i < node.ops.size(); ++i) {
            const Token& op = node.ops[i];
            const Fraction operand = number(node.children[i + 1], op.text);
            try {
                result = apply(op.kind, result, operand);
            } catch (Refused& refused) {
                if (refused.refusal.column == 0) refused.refusal.column = op.column;
                throw;
            }
        }
        return result;
    }

    Fraction apply(TokenKind op, const Fraction& a, const Fraction& b) {
        const fast::CancelCheck* cancel = context_.cancel;
        switch (op) {
        case TokenKind::Plus:
            return add(a, b, cancel);
        case TokenKind::Minus:
            return subtract(a, b, cancel);
        case TokenKind::Times:
            return multiply(a, b, cancel);
        default:
            return divide(a, b, cancel);
        }
    }

    Fraction file(const std::string& path) {
        FileRead read = env_.readFile(path);
        if (!read.refusal.empty()) throw Refused(RefusalKind::FileRefused, std::move(read.refusal));
        if (read.text.find_first_of("0123456789") == std::string::npos)
            throw Refused(RefusalKind::EmptyFile, path);
        return *fromNumberText(read.text, context_.cancel);
    }

    Value entry(const std::string& k) {
        const std::optional<std::uint64_t> index = smallWhole(Fraction::integer(k));
        std::optional<Value> found;
        if (index && env_.entry) found = env_.entry(*index);
        if (!found) throw Refused(RefusalKind::NoEntry, k);
        return *found;
    }

    Value constant(const std::string& name) {
        if (isAns(name)) {
            if (!env_.ans) throw Refused(RefusalKind::NoAnswer);
            return *env_.ans;
        }
        if (const Function* f = functions().find(name))
            throw Refused(RefusalKind::WrongArgumentCount, f->usage);
        throw Refused(RefusalKind::UnknownName, name);
    }

    Value call(const Node& node) {
        const Function* f = functions().find(node.text);
        if (!f) throw Refused(RefusalKind::UnknownName, node.text);
        if (node.children.size() < f->minArguments || node.children.size() > f->maxArguments)
            throw Refused(RefusalKind::WrongArgumentCount, f->usage);
        if (f->evaluateValues) {
            std::vector<Value> arguments;
            std::vector<std::int64_t> columns;
            arguments.reserve(node.children.size());
            for (const Node& child : node.children) {
                arguments.push_back(value(child));
                columns.push_back(startColumn(child));
            }
            return f->evaluateValues(arguments, columns, context_);
        }
        std::vector<Fraction> arguments;
        arguments.reserve(node.children.size());
        for (const Node& child : node.children)
            arguments.push_back(number(child, node.text));
        return f->evaluate(arguments, context_);
    }

    const Environment& env_;
    bool cut_ = false;
    CallContext context_;
};

} // namespace

FileRead readNumberOperand(const std::string& path) {
    Operand operand = readOperandFile(path, operandByteLimit());
    return {std::move(operand.text), std::move(operand.refusal)};
}

Evaluation guarded(const std::function<void(Evaluation&, const fast::CancelCheck*)>& work,
                   Progress& progress) {
    Evaluation e;
    const fast::CancelCheck check = progress.cancelCheck();
    try {
        work(e, &check);
        e.status = Evaluation::Status::Value;
    } catch (const Refused& refused) {
        e.status = Evaluation::Status::Refused;
        e.refusal = refused.refusal;
    } catch (const fast::Cancelled&) {
        e.status = Evaluation::Status::Cancelled;
    } catch (const std::bad_alloc&) {
        e.status = Evaluation::Status::Refused;
        e.refusal = {RefusalKind::NotEnoughMemory, 0, ""};
    } catch (const std::length_error&) {
        e.status = Evaluation::Status::Refused;
        e.refusal = {RefusalKind::TooLong, 0, ""};
    }
    if (e.status != Evaluation::Status::Refused && progress.cancelled())
        e.status = Evaluation::Status::Cancelled;
    return e;
}

Evaluation evaluateValue(std::string_view line, const Environment& env, Progress& progress) {
    return guarded(
        [&](Evaluation& e, const fast::CancelCheck* cancel) {
            const Node root = parse(line);
            e.value = Evaluator(env, progress, cancel).value(root);
        },
        progress);
}

Evaluation evaluate(std::string_view line, const Environment& env, Progress& progress) {
    return guarded(
        [&](Evaluation& e, const fast::CancelCheck*) {
            const Node root = parse(line);
            // The value and its text each fill half of the progress bar,
            // each measured by a check of its own.
            bool cut = false;
            {
                const Progress::Stage stage(progress, 0, 0.5);
                const fast::CancelCheck check = progress.cancelCheck();
                Evaluator evaluator(env, progress, &check);
                e.value = evaluator.value(root);
                cut = evaluator.cut();
            }
            const Progress::Stage stage(progress, 0.5, 1);
            const fast::CancelCheck check = progress.cancelCheck();
            e.shown = show(e.value, env.periodLimit, &check);
            // A cut root in it: the value goes on past its last place.
            if (cut && e.shown.kind == ShownKind::Ends) e.shown.kind = ShownKind::Cut;
        },
        progress);
}

} // namespace longhand::expr
