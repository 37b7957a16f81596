#include "vbcheck/VBConditionEvaluator.h"

#include <cstdint>

#include "common/FoldCase.h"
#include "vbcheck/VBOperators.h"

namespace {

constexpr int kDeepestNesting = 64;

long long Truth(bool value)
{
    return value ? -1LL : 0LL;
}

// Wrapping arithmetic: the value only has to be repeatable, not to overflow.
long long Wrapped(unsigned long long value)
{
    return static_cast<long long>(value);
}

}  // namespace

long long CVBConditionEvaluator::Value()
{
    const long long value = Binary(0);
    return failed_ ? 0 : value;
}

// The operator's level where a condition can compute it, else -1: the condition ends there.
int CVBConditionEvaluator::Precedence(const VBToken& token) const
{
    const VBOperator op = OperatorOf(token);
    return op == VBOperator::Not || !IsNumeric(op) ? -1 : LevelOf(op);
}

long long CVBConditionEvaluator::Apply(VBOperator op, long long a, long long b) const
{
    const auto ua = static_cast<unsigned long long>(a);
    const auto ub = static_cast<unsigned long long>(b);
    const bool noQuotient = b == 0 || (a == INT64_MIN && b == -1);
    switch (op) {
    case VBOperator::Imp: return ~a | b;
    case VBOperator::Eqv: return ~(a ^ b);
    case VBOperator::Xor: return a ^ b;
    case VBOperator::Or: return a | b;
    case VBOperator::And: return a & b;
    case VBOperator::Equal: return Truth(a == b);
    case VBOperator::NotEqual: return Truth(a != b);
    case VBOperator::Less: return Truth(a < b);
    case VBOperator::Greater: return Truth(a > b);
    case VBOperator::LessEqual: return Truth(a <= b);
    case VBOperator::GreaterEqual: return Truth(a >= b);
    case VBOperator::Add: return Wrapped(ua + ub);
    case VBOperator::Subtract: return Wrapped(ua - ub);
    case VBOperator::Multiply: return Wrapped(ua * ub);
    case VBOperator::Modulo: return noQuotient ? 0 : a % b;
    case VBOperator::IntegerDivide:
    case VBOperator::Divide: return noQuotient ? 0 : a / b;
    default: return 0;
    }
}

long long CVBConditionEvaluator::Binary(int level)
{
    if (level >= VBOperatorLevels::kCount)
        return Unary();
    const VBToken& token = tokens_[pos_];
    // Not takes a whole comparison, negation a whole power: Not a = b, -2 ^ 2.
    if (level == VBOperatorLevels::kNot && token.Word() == VBWord::Not) {
        ++pos_;
        return ~Binary(level);
    }
    if (level == VBOperatorLevels::kNegation && token.Symbol() == VBSymbol::Minus) {
        ++pos_;
        return Wrapped(0ULL - static_cast<unsigned long long>(Binary(level)));
    }
    long long value = Binary(level + 1);
    while (!failed_ && Precedence(tokens_[pos_]) == level) {
        const VBOperator op = OperatorOf(tokens_[pos_++]);
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
    if (token.Word() == VBWord::Not) {
        ++pos_;
        value = ~Unary();
    } else if (token.Symbol() == VBSymbol::Minus) {
        ++pos_;
        value = Wrapped(0ULL - static_cast<unsigned long long>(Unary()));
    } else if (token.Symbol() == VBSymbol::Plus) {
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
    if (token.Symbol() == VBSymbol::LeftParenthesis) {
        ++pos_;
        const long long value = Binary(0);
        if (tokens_[pos_].Symbol() == VBSymbol::RightParenthesis)
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
            value = Wrapped(static_cast<unsigned long long>(value) * 10 + static_cast<unsigned>(c - '0'));
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
