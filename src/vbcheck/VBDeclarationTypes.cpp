#include "vbcheck/VBDeclarationTypes.h"

#include <cmath>

#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBConstantValue.h"

namespace {

// Calls f with each item of a list, the parts between commas outside parentheses; stops at the
// first error.
template <typename F>
VBSpanFinding EachItem(VBSpan list, F f)
{
    for (const VBToken* at = list.begin; at < list.end;) {
        const VBToken* stop = FindOutsideParentheses(at, list.end, VBSymbol::Comma);
        if (const VBSpanFinding finding = f(VBSpan{at, stop}))
            return finding;
        at = stop + 1;
    }
    return {};
}

// A bound written as a number, with its sign: 5, -1. Names and expressions are not judged.
bool LiteralBound(VBSpan bound, double& value)
{
    const bool minus = IsSymbolToken(bound.At(0), VBSymbol::Minus);
    const VBToken* number = bound.At(minus ? 1 : 0);
    if (!number || number->kind != VBTokenKind::Number || bound.Size() != (minus ? 2u : 1u))
        return false;
    const CVBConstantValue constant(number, number + 1);
    if (constant.Result() != CVBConstantValue::Outcome::Value)
        return false;
    value = minus ? -constant.Value() : constant.Value();
    return true;
}

// Whether a Const's value does not fit its declared whole-number type, rounded as VB6 rounds.
bool Overflows(VBValueType type, double value)
{
    const double rounded = std::nearbyint(value);
    switch (type) {
    case VBValueType::Byte: return rounded < 0 || rounded > 255;
    case VBValueType::Integer: return rounded < -32768 || rounded > 32767;
    case VBValueType::Long: return rounded < -2147483648.0 || rounded > 2147483647.0;
    default: return false;
    }
}

}  // namespace

void CVBDeclarationTypes::Declare(const VBToken& name, VBDeclaredName declared)
{
    declared.uncertain = !certain_;
    names_.Declare(name, declared, inProcedure_);
}

VBSpanFinding CVBDeclarationTypes::Variables(VBSpan list)
{
    return EachItem(list, [this](VBSpan item) { return Variable(item); });
}

VBSpanFinding CVBDeclarationTypes::Constants(VBSpan list)
{
    return EachItem(list, [this](VBSpan item) { return Constant(item); });
}

VBSpanFinding CVBDeclarationTypes::Parameters(VBSpan list)
{
    return EachItem(list, [this](VBSpan item) { return Parameter(item); });
}

VBSpanFinding CVBDeclarationTypes::Variable(VBSpan item)
{
    std::string_view problem;
    const bool withEvents = IsWordToken(item.At(0), VBWord::WithEvents);
    const VBToken* name = item.At(withEvents ? 1 : 0);
    if (!IsNameToken(name))
        return {};
    VBDeclaredName declared;
    VBSpan rest{name + 1, item.end};
    if (IsSymbolToken(rest.At(0), VBSymbol::LeftParenthesis)) {
        const VBToken* close = FindOutsideParentheses(rest.begin + 1, item.end, VBSymbol::RightParenthesis);
        declared.dimensions = Dimensions({rest.begin + 1, close}, problem);
        rest.begin = close + (close < item.end ? 1 : 0);
    }
    declared.type = withEvents ? VBValueType::Other : TypeOf(*name, rest, problem);
    Declare(*name, declared);
    return problem.empty() ? VBSpanFinding{} : VBSpanFinding{problem, name};
}

VBSpanFinding CVBDeclarationTypes::Constant(VBSpan item)
{
    const VBToken* name = item.At(0);
    if (!IsNameToken(name))
        return {};
    const VBToken* equals = FindOutsideParentheses(item.begin, item.end, VBSymbol::Equals);
    std::string_view problem;
    VBDeclaredName declared;
    declared.constant = true;
    declared.type = TypeOf(*name, {name + 1, equals}, problem);
    Declare(*name, declared);
    if (!problem.empty() || equals >= item.end)
        return {};
    const CVBConstantValue value(equals + 1, item.end);
    if (value.Result() == CVBConstantValue::Outcome::DivisionByZero)
        return {kDivisionByZero, name};
    if (value.Result() == CVBConstantValue::Outcome::Value && Overflows(declared.type, value.Value()))
        return {kOverflow, name};
    return {};
}

VBSpanFinding CVBDeclarationTypes::Parameter(VBSpan item)
{
    const VBToken* at = item.begin;
    while (at < item.end && (IsWordToken(at, VBWord::Optional) || IsWordToken(at, VBWord::ByVal) || IsWordToken(at, VBWord::ByRef)))
        ++at;
    const bool paramArray = IsWordToken(at, VBWord::ParamArray);
    at += paramArray ? 1 : 0;
    if (at >= item.end || !IsNameToken(at))
        return {};
    const VBToken* name = at;
    VBDeclaredName declared;
    VBSpan rest{name + 1, FindOutsideParentheses(name + 1, item.end, VBSymbol::Equals)};
    if (IsSymbolToken(rest.At(0), VBSymbol::LeftParenthesis) && IsSymbolToken(rest.At(1), VBSymbol::RightParenthesis)) {
        declared.dimensions = 0;
        rest.begin += 2;
    }
    std::string_view problem;
    declared.type = TypeOf(*name, rest, problem);
    Declare(*name, declared);
    const bool typed = IsWordToken(rest.At(0), VBWord::As);
    if (paramArray && typed && declared.type != VBValueType::Variant)
        return {kParamArrayNotVariant, name};
    return {};
}

int CVBDeclarationTypes::Dimensions(VBSpan bounds, std::string_view& problem)
{
    if (bounds.Empty())
        return 0;
    int dimensions = 0;
    for (const VBToken* at = bounds.begin; at < bounds.end; ++dimensions) {
        const VBToken* stop = FindOutsideParentheses(at, bounds.end, VBSymbol::Comma);
        const VBToken* to = at;
        while (to < stop && !IsWordToken(to, VBWord::To))
            ++to;
        double lower = 0;
        double upper = 0;
        if (to < stop && LiteralBound({at, to}, lower) && LiteralBound({to + 1, stop}, upper) && lower > upper &&
            problem.empty())
            problem = kRangeHasNoValues;
        at = stop + 1;
    }
    return dimensions;
}

VBValueType CVBDeclarationTypes::TypeOf(const VBToken& name, VBSpan asClause, std::string_view& problem)
{
    if (!IsWordToken(asClause.At(0), VBWord::As))
        return name.escaped || name.text.empty() ? VBValueType::Unknown : TypeOfSuffix(name.text.back());
    const bool isNew = IsWordToken(asClause.At(1), VBWord::New);
    const VBToken* type = asClause.At(isNew ? 2 : 1);
    if (!type)
        return VBValueType::Unknown;
    // Lib.Type names a type of a library or another project.
    if (IsSymbolToken(asClause.At(isNew ? 3 : 2), VBSymbol::Dot))
        return VBValueType::Other;
    const VBValueType written = TypeOfName(*type);
    if (isNew && written != VBValueType::Other && written != VBValueType::Object)
        problem = kInvalidUseOfNew;
    return isNew ? VBValueType::Other : written;
}
