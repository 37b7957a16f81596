#include "vbcheck/VBExpressions.h"

#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBOperators.h"

namespace {

// Far beyond any real code; a deeper nesting is left unjudged rather than allowed to exhaust the
// stack.
constexpr int kDeepestNesting = 200;

}  // namespace

bool CVBExpressions::Enter()
{
    if (++depth_ > kDeepestNesting) {
        --depth_;
        return cursor_.Stop();
    }
    return true;
}

bool CVBExpressions::IsBinaryOperator() const
{
    const VBOperator op = OperatorOf(cursor_.Peek());
    return op != VBOperator::None && op != VBOperator::Not;
}

// Not, AddressOf, unary - and +.
bool CVBExpressions::IsPrefixOperator() const
{
    return cursor_.IsSymbol(VBSymbol::Minus) || cursor_.IsSymbol(VBSymbol::Plus) || cursor_.IsWord(VBWord::Not) ||
           cursor_.IsWord(VBWord::AddressOf);
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

bool CVBExpressions::Operand(VBWord* lastMember, bool* endsInArguments)
{
    // Prefix operators in a loop, not by recursion: - - - x nests nothing.
    while (IsPrefixOperator())
        cursor_.Take();
    if (cursor_.TakeWord(VBWord::New))
        return TypeName();
    if (cursor_.TakeWord(VBWord::TypeOf)) {
        if (!Enter())
            return false;
        const bool inner = Operand();
        Leave();
        if (!inner)
            return false;
        if (!cursor_.TakeWord(VBWord::Is))
            return cursor_.Stop();
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
        if (EndsOperand(token.Word()))
            return cursor_.Fail(kExpectedExpression);
        if (blocks_.ModuleKind() == VBModuleKind::Standard && token.Word() == VBWord::Me)
            return cursor_.Fail(kInvalidUseOfMe);
        cursor_.Take();
        if (lastMember)
            *lastMember = token.Word();
        return Members(lastMember, endsInArguments);
    case VBTokenKind::Symbol:
        return SymbolOperand(lastMember, endsInArguments);
    case VBTokenKind::End:
        return cursor_.Fail(kExpectedExpression);
    case VBTokenKind::Directive:
    case VBTokenKind::LineNumber:
    case VBTokenKind::Label:
        return cursor_.Stop();
    }
    return cursor_.Stop();
}

// (expression), and .Member or !Field inside With.
bool CVBExpressions::SymbolOperand(VBWord* lastMember, bool* endsInArguments)
{
    if (cursor_.IsSymbol(VBSymbol::LeftParenthesis)) {
        cursor_.Take();
        if (!Enter())
            return false;
        const bool inner = Expression();
        Leave();
        if (!inner)
            return false;
        if (!cursor_.TakeSymbol(VBSymbol::RightParenthesis))
            return cursor_.Fail(kExpectedListSeparator);
        return Members(lastMember, endsInArguments);
    }
    // .Member and !Field inside With.
    if (cursor_.IsSymbol(VBSymbol::Dot) || cursor_.IsSymbol(VBSymbol::Bang)) {
        if (blocks_.InProcedure() && !blocks_.Inside(VBBlockKind::With))
            return cursor_.Fail(kInvalidOrUnqualifiedReference);
        cursor_.Take();
        if (!cursor_.IsKind(VBTokenKind::Word))
            return cursor_.Fail(kExpectedIdentifier);
        if (lastMember)
            *lastMember = cursor_.Peek().Word();
        cursor_.Take();
        return Members(lastMember, endsInArguments);
    }
    if (cursor_.IsKind(VBTokenKind::End) || cursor_.IsSymbol(VBSymbol::Colon) || cursor_.IsSymbol(VBSymbol::Comma) ||
        cursor_.IsSymbol(VBSymbol::RightParenthesis) || IsBinaryOperator())
        return cursor_.Fail(kExpectedExpression);
    return cursor_.Stop();
}

bool CVBExpressions::Members(VBWord* lastMember, bool* endsInArguments)
{
    if (endsInArguments)
        *endsInArguments = false;
    for (;;) {
        // A blank before the dot begins the next operand: Foo .Name inside With.
        if ((cursor_.IsSymbol(VBSymbol::Dot) || cursor_.IsSymbol(VBSymbol::Bang)) && !cursor_.Peek().spaceBefore) {
            cursor_.Take();
            // Any word names a member: .Name, .Open, .Print.
            if (!cursor_.IsKind(VBTokenKind::Word))
                return cursor_.Fail(kExpectedIdentifier);
            if (lastMember)
                *lastMember = cursor_.Peek().Word();
            cursor_.Take();
            if (endsInArguments)
                *endsInArguments = false;
        } else if (cursor_.IsSymbol(VBSymbol::LeftParenthesis)) {
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
    if (cursor_.IsKind(VBTokenKind::Word) && cursor_.IsSymbol(VBSymbol::ColonEquals, 1)) {
        cursor_.Take();
        cursor_.Take();
    }
    if (cursor_.IsWord(VBWord::ByVal) || cursor_.IsWord(VBWord::ByRef))
        cursor_.Take();
    // A file number: Input(5, #1), EOF(#1) in older code.
    cursor_.TakeSymbol(VBSymbol::Hash);
    if (!Expression())
        return false;
    if (bounds && cursor_.TakeWord(VBWord::To))
        return Expression();
    return true;
}

bool CVBExpressions::ArgumentsInParentheses(bool bounds)
{
    if (!Enter())
        return false;
    bool ok = true;
    if (!cursor_.IsSymbol(VBSymbol::RightParenthesis)) {
        for (;;) {
            // Omitted arguments: f(a, , c).
            if (!cursor_.IsSymbol(VBSymbol::Comma) && !cursor_.IsSymbol(VBSymbol::RightParenthesis) &&
                !Argument(bounds)) {
                ok = false;
                break;
            }
            if (!cursor_.TakeSymbol(VBSymbol::Comma))
                break;
        }
    }
    if (ok && !cursor_.TakeSymbol(VBSymbol::RightParenthesis))
        ok = cursor_.Fail(kExpectedListSeparator);
    Leave();
    return ok;
}

bool CVBExpressions::ArgumentsWithoutParentheses()
{
    for (;;) {
        if (!cursor_.IsSymbol(VBSymbol::Comma) && !cursor_.AtStatementEnd(singleLineIf_) && !Argument(false))
            return false;
        if (!cursor_.TakeSymbol(VBSymbol::Comma))
            return true;
    }
}

bool CVBExpressions::AsClause()
{
    if (!cursor_.TakeWord(VBWord::As))
        return true;
    cursor_.TakeWord(VBWord::New);
    return TypeName();
}

bool CVBExpressions::TypeName()
{
    if (!cursor_.IsKind(VBTokenKind::Word))
        return cursor_.Fail(kExpectedIdentifier);
    cursor_.Take();
    while (cursor_.IsSymbol(VBSymbol::Dot) && cursor_.IsKind(VBTokenKind::Word, 1)) {
        cursor_.Take();
        cursor_.Take();
    }
    if (cursor_.TakeSymbol(VBSymbol::Times)) {
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
