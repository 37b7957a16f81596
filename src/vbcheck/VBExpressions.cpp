#include "vbcheck/VBExpressions.h"

#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBKeywords.h"

namespace {

// Far beyond any real code; a deeper nesting is left unjudged rather than allowed to exhaust the
// stack.
constexpr int kDeepestNesting = 200;

}  // namespace

bool CVBExpressions::Enter()
{
    if (++depth_ > kDeepestNesting) {
        --depth_;
        return cursor_.Fail({});
    }
    return true;
}

bool CVBExpressions::IsBinaryOperator() const
{
    const VBToken& token = cursor_.Peek();
    if (token.kind == VBTokenKind::Word)
        return !token.escaped && IsWordOperator(token.text);
    if (token.kind != VBTokenKind::Symbol)
        return false;
    // Every two-character symbol but := compares: <>, <=, >=, =<, =>, ><.
    if (token.text.size() == 2)
        return token.text[0] != ':';
    switch (token.text.size() == 1 ? token.text[0] : '\0') {
    case '+': case '-': case '*': case '/': case '\\': case '^': case '&': case '=': case '<': case '>':
        return true;
    default:
        return false;
    }
}

// Not, AddressOf, unary - and +. Asked by the token's kind first: it is asked for every operand.
bool CVBExpressions::IsPrefixOperator() const
{
    const VBTokenKind kind = cursor_.Peek().kind;
    if (kind == VBTokenKind::Symbol)
        return cursor_.IsSymbol("-") || cursor_.IsSymbol("+");
    return kind == VBTokenKind::Word && (cursor_.IsWord("Not") || cursor_.IsWord("AddressOf"));
}

bool CVBExpressions::Expression()
{
    return Operand() && RestOfExpression();
}

bool CVBExpressions::RestOfExpression()
{
    while (IsBinaryOperator()) {
        cursor_.Take();
        if (!Operand())
            return false;
    }
    return true;
}

bool CVBExpressions::Operand(std::string_view* lastMember, bool* endsInArguments)
{
    // Prefix operators in a loop, not by recursion: - - - x nests nothing.
    while (IsPrefixOperator())
        cursor_.Take();
    if (cursor_.TakeWord("New"))
        return TypeName();
    if (cursor_.TakeWord("TypeOf")) {
        if (!Enter())
            return false;
        const bool inner = Operand();
        Leave();
        if (!inner)
            return false;
        if (!cursor_.TakeWord("Is"))
            return cursor_.Fail({});
        return TypeName();
    }
    const VBToken& token = cursor_.Peek();
    switch (token.kind) {
    case VBTokenKind::Number:
    case VBTokenKind::String:
    case VBTokenKind::Date:
        cursor_.Take();
        return true;
    case VBTokenKind::Word:
        if (!token.escaped && EndsOperand(token.text))
            return cursor_.Fail(kExpectedExpression);
        if (blocks_.ModuleKind() == VBModuleKind::Standard && !token.escaped && IsKeyword(token.text, "Me"))
            return cursor_.Fail(kInvalidUseOfMe);
        cursor_.Take();
        if (lastMember)
            *lastMember = token.text;
        return Members(lastMember, endsInArguments);
    case VBTokenKind::Symbol:
        return SymbolOperand(lastMember, endsInArguments);
    case VBTokenKind::End:
        return cursor_.Fail(kExpectedExpression);
    case VBTokenKind::Directive:
        return cursor_.Fail({});
    }
    return cursor_.Fail({});
}

// (expression), and .Member or !Field inside With.
bool CVBExpressions::SymbolOperand(std::string_view* lastMember, bool* endsInArguments)
{
    if (cursor_.IsSymbol("(")) {
        cursor_.Take();
        if (!Enter())
            return false;
        const bool inner = Expression();
        Leave();
        if (!inner)
            return false;
        if (!cursor_.TakeSymbol(")"))
            return cursor_.Fail(kExpectedListSeparator);
        return Members(lastMember, endsInArguments);
    }
    // .Member and !Field inside With.
    if (cursor_.IsSymbol(".") || cursor_.IsSymbol("!")) {
        if (blocks_.InProcedure() && !blocks_.Inside(VBBlockKind::With))
            return cursor_.Fail(kInvalidOrUnqualifiedReference);
        cursor_.Take();
        if (!cursor_.IsKind(VBTokenKind::Word))
            return cursor_.Fail(kExpectedIdentifier);
        if (lastMember)
            *lastMember = cursor_.Peek().text;
        cursor_.Take();
        return Members(lastMember, endsInArguments);
    }
    return cursor_.Fail(cursor_.IsKind(VBTokenKind::End) || cursor_.IsSymbol(":") ||
                                cursor_.IsSymbol(",") || cursor_.IsSymbol(")") || IsBinaryOperator()
                            ? kExpectedExpression
                            : std::string_view{});
}

bool CVBExpressions::Members(std::string_view* lastMember, bool* endsInArguments)
{
    if (endsInArguments)
        *endsInArguments = false;
    for (;;) {
        // A blank before the dot begins the next operand: Foo .Name inside With.
        if ((cursor_.IsSymbol(".") || cursor_.IsSymbol("!")) && !cursor_.Peek().spaceBefore) {
            cursor_.Take();
            // Any word names a member: .Name, .Open, .Print.
            if (!cursor_.IsKind(VBTokenKind::Word))
                return cursor_.Fail(kExpectedIdentifier);
            if (lastMember)
                *lastMember = cursor_.Peek().text;
            cursor_.Take();
            if (endsInArguments)
                *endsInArguments = false;
        } else if (cursor_.IsSymbol("(")) {
            cursor_.Take();
            if (!ArgumentsInParentheses())
                return false;
            if (endsInArguments)
                *endsInArguments = true;
        } else {
            return true;
        }
    }
}

bool CVBExpressions::Argument(bool bounds)
{
    if (cursor_.IsKind(VBTokenKind::Word) && cursor_.IsSymbol(":=", 1)) {
        cursor_.Take();
        cursor_.Take();
    }
    if (cursor_.IsWord("ByVal") || cursor_.IsWord("ByRef"))
        cursor_.Take();
    // A file number: Input(5, #1), EOF(#1) in older code.
    cursor_.TakeSymbol("#");
    if (!Expression())
        return false;
    if (bounds && cursor_.TakeWord("To"))
        return Expression();
    return true;
}

bool CVBExpressions::ArgumentsInParentheses(bool bounds)
{
    if (!Enter())
        return false;
    bool ok = true;
    if (!cursor_.IsSymbol(")")) {
        for (;;) {
            // Omitted arguments: f(a, , c).
            if (!cursor_.IsSymbol(",") && !cursor_.IsSymbol(")") && !Argument(bounds)) {
                ok = false;
                break;
            }
            if (!cursor_.TakeSymbol(","))
                break;
        }
    }
    if (ok && !cursor_.TakeSymbol(")"))
        ok = cursor_.Fail(kExpectedListSeparator);
    Leave();
    return ok;
}

bool CVBExpressions::ArgumentsWithoutParentheses()
{
    for (;;) {
        if (!cursor_.IsSymbol(",") && !cursor_.AtStatementEnd(singleLineIf_) && !Argument(false))
            return false;
        if (!cursor_.TakeSymbol(","))
            return true;
    }
}

bool CVBExpressions::AsClause()
{
    if (!cursor_.TakeWord("As"))
        return true;
    cursor_.TakeWord("New");
    return TypeName();
}

bool CVBExpressions::TypeName()
{
    if (!cursor_.IsKind(VBTokenKind::Word))
        return cursor_.Fail(kExpectedIdentifier);
    cursor_.Take();
    while (cursor_.IsSymbol(".") && cursor_.IsKind(VBTokenKind::Word, 1)) {
        cursor_.Take();
        cursor_.Take();
    }
    if (cursor_.TakeSymbol("*")) {
        if (!cursor_.IsKind(VBTokenKind::Number) && !cursor_.IsKind(VBTokenKind::Word))
            return cursor_.Fail(kExpectedExpression);
        const std::string_view length = cursor_.Peek().text;
        // 1 to 65,526 characters; a constant's value is not known here.
        if (cursor_.IsKind(VBTokenKind::Number) && length.find_first_not_of("0123456789") == std::string_view::npos &&
            (length.find_first_not_of('0') == std::string_view::npos || length.size() > 5 ||
             (length.size() == 5 && length > "65526")))
            return cursor_.Fail(kInvalidFixedLength);
        cursor_.Take();
    }
    return true;
}
