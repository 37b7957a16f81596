#include "vbcheck/VBOperators.h"

#include <array>
#include <iterator>

namespace {

using O = VBOperator;
using Y = VBSymbol;

struct Row {
    VBOperator op;
    int level;
    bool numeric;
};
// In the order of VBOperator, so that an operator's row is found by its number.
constexpr Row kOperators[] = {
    {O::None, -1, false},      {O::Imp, 0, true},           {O::Eqv, 1, true},
    {O::Xor, 2, true},         {O::Or, 3, true},            {O::And, 4, true},
    {O::Not, 5, true},         {O::Equal, 6, true},         {O::NotEqual, 6, true},
    {O::Less, 6, true},        {O::Greater, 6, true},       {O::LessEqual, 6, true},
    {O::GreaterEqual, 6, true}, {O::Like, 6, false},        {O::Is, 6, false},
    {O::Concatenate, 7, true}, {O::Add, 8, true},           {O::Subtract, 8, true},
    {O::Modulo, 9, true},      {O::IntegerDivide, 10, true}, {O::Multiply, 11, true},
    {O::Divide, 11, true},     {O::Negate, 12, true},       {O::Power, 13, true},
};

constexpr bool InOperatorOrder()
{
    for (size_t i = 0; i < std::size(kOperators); ++i) {
        if (static_cast<size_t>(kOperators[i].op) != i)
            return false;
    }
    return kOperators[static_cast<size_t>(O::Not)].level == VBOperatorLevels::kNot &&
           kOperators[static_cast<size_t>(O::Equal)].level == VBOperatorLevels::kComparison &&
           kOperators[static_cast<size_t>(O::Negate)].level == VBOperatorLevels::kNegation &&
           kOperators[static_cast<size_t>(O::Power)].level == VBOperatorLevels::kCount - 1;
}
static_assert(InOperatorOrder());

constexpr std::array<VBOperator, static_cast<size_t>(Y::Unknown) + 1> SymbolOperators()
{
    std::array<VBOperator, static_cast<size_t>(Y::Unknown) + 1> ops{};
    ops[static_cast<size_t>(Y::Equals)] = O::Equal;
    ops[static_cast<size_t>(Y::NotEqual)] = O::NotEqual;
    ops[static_cast<size_t>(Y::Less)] = O::Less;
    ops[static_cast<size_t>(Y::Greater)] = O::Greater;
    ops[static_cast<size_t>(Y::LessEqual)] = O::LessEqual;
    ops[static_cast<size_t>(Y::GreaterEqual)] = O::GreaterEqual;
    ops[static_cast<size_t>(Y::Ampersand)] = O::Concatenate;
    ops[static_cast<size_t>(Y::Plus)] = O::Add;
    ops[static_cast<size_t>(Y::Minus)] = O::Subtract;
    ops[static_cast<size_t>(Y::Backslash)] = O::IntegerDivide;
    ops[static_cast<size_t>(Y::Times)] = O::Multiply;
    ops[static_cast<size_t>(Y::Slash)] = O::Divide;
    ops[static_cast<size_t>(Y::Caret)] = O::Power;
    return ops;
}
constexpr std::array<VBOperator, static_cast<size_t>(Y::Unknown) + 1> kSymbolOperators = SymbolOperators();

}  // namespace

VBOperator OperatorOf(const VBToken& token)
{
    if (token.kind == VBTokenKind::Symbol)
        return kSymbolOperators[token.id];
    return OperatorOf(token.Word());
}

int LevelOf(VBOperator op)
{
    return kOperators[static_cast<size_t>(op)].level;
}

bool IsNumeric(VBOperator op)
{
    return kOperators[static_cast<size_t>(op)].numeric;
}
