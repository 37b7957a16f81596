#pragma once

#include <string_view>

#include "vbcheck/VBBlocks.h"
#include "vbcheck/VBCursor.h"

// Expressions, names and argument lists, read at the cursor. Each returns false when it failed,
// the cursor holding the error.
class CVBExpressions {
public:
    CVBExpressions(CVBCursor& cursor, const CVBBlocks& blocks) : cursor_(cursor), blocks_(blocks) {}

    bool Expression();
    // An operand with its member accesses, bangs and argument lists: a call or an assignment's
    // target. lastMember is the word of the last name read; endsInArguments when an argument list ended it.
    bool Operand(VBWord* lastMember = nullptr, bool* endsInArguments = nullptr);
    // The operators and operands after an operand already read: Foo (a) + 1 in a call statement.
    bool RestOfExpression();
    // Arguments up to the closing parenthesis, which is taken; the opening one is already taken.
    // Bounds allows "lower To upper".
    bool ArgumentsInParentheses(bool bounds = false);
    // Arguments of a call without parentheses, up to where the statement may end.
    bool ArgumentsWithoutParentheses();
    // The type after As: Type, Lib.Type, with a fixed length (* n) when allowed.
    bool TypeName();
    // A variable's As [New] Type, where one follows.
    bool AsClause();
    bool IsBinaryOperator() const;
    // True while the expression is part of a single-line If, whose Else ends it.
    void SetSingleLineIf(bool inside) { singleLineIf_ = inside; }

private:
    bool IsPrefixOperator() const;
    bool Argument(bool bounds);
    bool Members(VBWord* lastMember, bool* endsInArguments);
    bool SymbolOperand(VBWord* lastMember, bool* endsInArguments);
    bool Enter();
    void Leave() { --depth_; }

    CVBCursor& cursor_;
    const CVBBlocks& blocks_;
    int depth_ = 0;
    bool singleLineIf_ = false;
};
