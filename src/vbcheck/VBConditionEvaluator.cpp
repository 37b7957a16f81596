#include "vbcheck/VBConditionEvaluator.h"

#include <cstdint>

#include "common/FoldCase.h"
#include "vbcheck/VBKeywords.h"

namespace {

constexpr int kDeepestNesting = 64;

// VB's levels, loosest first: Imp, Eqv, Xor, Or, And, Not, the comparisons, &, + -, Mod, \, * /,
// negation, ^.
struct Operator {
    std::string_view text;  // lower case
    int level;
};
constexpr int kNotLevel = 5;
constexpr int kNegationLevel = 12;
constexpr int kLevels = 14;
constexpr Operator kOperators[] = {
    {"imp", 0}, {"eqv", 1}, {"xor", 2}, {"or", 3}, {"and", 4},
    {"=", 6}, {"<>", 6}, {"><", 6}, {"<", 6}, {">", 6}, {"<=", 6}, {"=<", 6}, {">=", 6}, {"=>", 6},
    {"&", 7}, {"+", 8}, {"-", 8}, {"mod", 9}, {"\\", 10}, {"*", 11}, {"/", 11}, {"^", 13},
};

}  // namespace

long long CVBConditionEvaluator::Value()
{
    const long long value = Binary(0);
    return failed_ ? 0 : value;
}

int CVBConditionEvaluator::Precedence(const VBToken& token) const
{
    if ((token.kind != VBTokenKind::Word || token.escaped) && token.kind != VBTokenKind::Symbol)
        return -1;
    for (const Operator& op : kOperators) {
        if (token.kind == VBTokenKind::Word ? IsKeyword(token.text, op.text) : token.text == op.text)
            return op.level;
    }
    return -1;
}

long long CVBConditionEvaluator::Apply(std::string_view op, long long a, long long b) const
{
    const std::string o = FoldCase(op);
    const auto truth = [](bool v) { return v ? -1LL : 0LL; };
    if (o == "or") return a | b;
    if (o == "xor") return a ^ b;
    if (o == "eqv") return ~(a ^ b);
    if (o == "imp") return ~a | b;
    if (o == "and") return a & b;
    if (o == "=") return truth(a == b);
    if (o == "<>" || o == "><") return truth(a != b);
    if (o == "<") return truth(a < b);
    if (o == ">") return truth(a > b);
    if (o == "<=" || o == "=<") return truth(a <= b);
    if (o == ">=" || o == "=>") return truth(a >= b);
    // Wrapping arithmetic: the value only has to be repeatable, not to overflow.
    const auto ua = static_cast<unsigned long long>(a);
    const auto ub = static_cast<unsigned long long>(b);
    if (o == "+") return static_cast<long long>(ua + ub);
    if (o == "-") return static_cast<long long>(ua - ub);
    if (o == "*") return static_cast<long long>(ua * ub);
    if ((o == "/" || o == "\\" || o == "mod") && (b == 0 || (a == INT64_MIN && b == -1))) {
        return 0;
    }
    if (o == "/" || o == "\\") return a / b;
    if (o == "mod") return a % b;
    return 0;
}

long long CVBConditionEvaluator::Binary(int level)
{
    if (level >= kLevels)
        return Unary();
    const VBToken& token = tokens_[pos_];
    // Not takes a whole comparison, negation a whole power: Not a = b, -2 ^ 2.
    if ((level == kNotLevel && token.kind == VBTokenKind::Word && !token.escaped && EqualIgnoringCase(token.text, "Not")) ||
        (level == kNegationLevel && token.kind == VBTokenKind::Symbol && token.text == "-")) {
        ++pos_;
        return level == kNotLevel ? ~Binary(level) : static_cast<long long>(0ULL - static_cast<unsigned long long>(Binary(level)));
    }
    long long value = Binary(level + 1);
    while (!failed_ && Precedence(tokens_[pos_]) == level) {
        const std::string_view op = tokens_[pos_++].text;
        value = Apply(op, value, Binary(level + 1));
    }
    return value;
}

long long CVBConditionEvaluator::Unary()
{
    if (++depth_ > kDeepestNesting) {
        failed_ = true;
        return 0;
    }
    const VBToken& token = tokens_[pos_];
    long long value = 0;
    if (token.kind == VBTokenKind::Word && !token.escaped && EqualIgnoringCase(token.text, "Not")) {
        ++pos_;
        value = ~Unary();
    } else if (token.kind == VBTokenKind::Symbol && token.text == "-") {
        ++pos_;
        value = static_cast<long long>(0ULL - static_cast<unsigned long long>(Unary()));
    } else if (token.kind == VBTokenKind::Symbol && token.text == "+") {
        ++pos_;
        value = Unary();
    } else {
        value = Operand();
    }
    --depth_;
    return value;
}

long long CVBConditionEvaluator::Operand()
{
    const VBToken& token = tokens_[pos_];
    if (token.kind == VBTokenKind::Symbol && token.text == "(") {
        ++pos_;
        const long long value = Binary(0);
        if (tokens_[pos_].kind == VBTokenKind::Symbol && tokens_[pos_].text == ")")
            ++pos_;
        else
            failed_ = true;
        return value;
    }
    if (token.kind == VBTokenKind::Number) {
        ++pos_;
        long long value = 0;
        for (char c : token.text) {
            if (c < '0' || c > '9')
                break;
            value = static_cast<long long>(static_cast<unsigned long long>(value) * 10 + (c - '0'));
        }
        return value;
    }
    if (token.kind == VBTokenKind::Word) {
        ++pos_;
        const std::string name = FoldCase(token.text);
        if (!token.escaped && (name == "true" || name == "win32"))
            return -1;
        const auto found = constants_.find(name);
        return found == constants_.end() ? 0 : found->second;
    }
    failed_ = true;
    return 0;
}
