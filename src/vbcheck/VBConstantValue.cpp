#include "vbcheck/VBConstantValue.h"

#include <charconv>
#include <cmath>
#include <string_view>

#include "vbcheck/VBWords.h"

namespace {

// Far beyond a real Const: a deeper nesting is left unjudged rather than read by deep recursion.
constexpr int kDeepestParentheses = 50;
// Values past these are left to VB6: its Long and Double limits are not modelled.
constexpr double kLargestLong = 2147483647.0;
constexpr double kLargestValue = 1e300;

// A decimal number with an optional type suffix other than %, whose overflow is the literal's own.
bool NumberValue(std::string_view text, double& value)
{
    if (text.empty() || text.front() == '&')
        return false;
    if (std::string_view("&!#@").find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    const std::from_chars_result read = std::from_chars(text.data(), text.data() + text.size(), value);
    return read.ec == std::errc() && read.ptr == text.data() + text.size();
}

bool IsModWord(const VBToken& token)
{
    return token.Word() == VBWord::Mod;
}

bool IsArithmetic(const VBToken& token)
{
    switch (token.Symbol()) {
    case VBSymbol::Plus: case VBSymbol::Minus: case VBSymbol::Times: case VBSymbol::Slash: case VBSymbol::Backslash:
    case VBSymbol::Caret: case VBSymbol::LeftParenthesis: case VBSymbol::RightParenthesis:
        return true;
    default:
        return token.kind == VBTokenKind::Number || IsModWord(token);
    }
}

bool Usable(double value)
{
    return std::isfinite(value) && std::fabs(value) < kLargestValue;
}

}  // namespace

CVBConstantValue::CVBConstantValue(const VBToken* begin, const VBToken* end) : at_(begin), end_(end)
{
    // A name anywhere in it may make VB6 refuse it in other words before any division is made.
    for (const VBToken* token = begin; token != end; ++token) {
        if (!IsArithmetic(*token))
            return;
    }
    double value = 0;
    if (Sum(value) && at_ == end_ && Usable(value)) {
        outcome_ = Outcome::Value;
        value_ = value;
    }
}

bool CVBConstantValue::IsSymbol(VBSymbol symbol) const
{
    return at_ != end_ && at_->Symbol() == symbol;
}

bool CVBConstantValue::IsMod() const
{
    return at_ != end_ && IsModWord(*at_);
}

bool CVBConstantValue::Divide(double dividend, double divisor)
{
    if (divisor != 0)
        return true;
    if (dividend != 0)
        outcome_ = Outcome::DivisionByZero;
    return false;
}

bool CVBConstantValue::Sum(double& value)
{
    if (!Modulo(value))
        return false;
    while (IsSymbol(VBSymbol::Plus) || IsSymbol(VBSymbol::Minus)) {
        const bool plus = IsSymbol(VBSymbol::Plus);
        ++at_;
        double right = 0;
        if (!Modulo(right))
            return false;
        value = plus ? value + right : value - right;
        if (!Usable(value))
            return false;
    }
    return true;
}

// Mod and \ work on whole numbers of a Long's range: their operands are rounded first, as VB6
// rounds (half to even).
bool CVBConstantValue::WholeDivision(double& dividend, double& divisor)
{
    dividend = std::nearbyint(dividend);
    divisor = std::nearbyint(divisor);
    return std::fabs(dividend) <= kLargestLong && std::fabs(divisor) <= kLargestLong && Divide(dividend, divisor);
}

bool CVBConstantValue::Modulo(double& value)
{
    if (!IntegerQuotient(value))
        return false;
    while (IsMod()) {
        ++at_;
        double right = 0;
        if (!IntegerQuotient(right))
            return false;
        if (!WholeDivision(value, right))
            return false;
        value = std::fmod(value, right);
    }
    return true;
}

bool CVBConstantValue::IntegerQuotient(double& value)
{
    if (!Product(value))
        return false;
    while (IsSymbol(VBSymbol::Backslash)) {
        ++at_;
        double right = 0;
        if (!Product(right))
            return false;
        if (!WholeDivision(value, right))
            return false;
        value = std::trunc(value / right);
    }
    return true;
}

bool CVBConstantValue::Product(double& value)
{
    if (!Negation(value))
        return false;
    while (IsSymbol(VBSymbol::Times) || IsSymbol(VBSymbol::Slash)) {
        const bool times = IsSymbol(VBSymbol::Times);
        ++at_;
        double right = 0;
        if (!Negation(right))
            return false;
        if (!times && !Divide(value, right))
            return false;
        value = times ? value * right : value / right;
        if (!Usable(value))
            return false;
    }
    return true;
}

// VB6 binds ^ tighter than a sign: -2 ^ 2 is -4.
bool CVBConstantValue::Negation(double& value)
{
    if (IsSymbol(VBSymbol::Minus) || IsSymbol(VBSymbol::Plus)) {
        const bool minus = IsSymbol(VBSymbol::Minus);
        ++at_;
        if (!Negation(value))
            return false;
        value = minus ? -value : value;
        return true;
    }
    return Power(value);
}

bool CVBConstantValue::Power(double& value)
{
    if (!Primary(value))
        return false;
    while (IsSymbol(VBSymbol::Caret)) {
        ++at_;
        const bool minus = IsSymbol(VBSymbol::Minus);
        if (minus)
            ++at_;
        double right = 0;
        if (!Primary(right))
            return false;
        value = std::pow(value, minus ? -right : right);
        if (!Usable(value))
            return false;
    }
    return true;
}

bool CVBConstantValue::Primary(double& value)
{
    if (at_ == end_)
        return false;
    if (IsSymbol(VBSymbol::LeftParenthesis)) {
        if (++depth_ > kDeepestParentheses)
            return false;
        ++at_;
        if (!Sum(value) || !IsSymbol(VBSymbol::RightParenthesis))
            return false;
        ++at_;
        --depth_;
        return true;
    }
    if (at_->kind != VBTokenKind::Number || !NumberValue(at_->text, value))
        return false;
    ++at_;
    return true;
}
