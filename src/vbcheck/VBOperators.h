#pragma once

#include "vbcheck/VBToken.h"
#include "vbcheck/VBWords.h"

// How tightly each operator binds, loosest first, as VB has it: Imp, Eqv, Xor, Or, And, Not, the
// comparisons, &, + -, Mod, \, * /, negation, ^.
struct VBOperatorLevels {
    static constexpr int kNot = 5;
    static constexpr int kComparison = 6;
    static constexpr int kNegation = 12;
    static constexpr int kCount = 14;
};

// The operator a token stands for between two operands (Minus as Subtract, Not as Not); None for
// any other token.
VBOperator OperatorOf(const VBToken& token);
int LevelOf(VBOperator op);
// Whether an #If condition computes it: Like and Is have no meaning on numbers.
bool IsNumeric(VBOperator op);
