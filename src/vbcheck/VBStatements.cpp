#include "vbcheck/VBStatements.h"

#include "common/FoldCase.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBKeywords.h"

namespace {

// Far beyond real code: If a Then If b Then ... on one line nests by recursion.
constexpr int kDeepestSingleLineIf = 100;

using W = VBStatementWord;

// Members whose arguments have forms of their own: obj.Print a; b / obj.Line (0,0)-(1,1).
bool HasOwnForm(std::string_view member)
{
    return IsKeyword(member, "Print") || IsKeyword(member, "Line") || IsKeyword(member, "Circle") ||
           IsKeyword(member, "PSet") || IsKeyword(member, "Scale");
}

}  // namespace

void CVBStatements::Line(const std::vector<VBToken>& tokens, int piece)
{
    cursor_.Start(tokens);
    piece_ = piece;
    singleLineIfs_ = 0;
    statementMayFollow_ = false;
    expressions_.SetSingleLineIf(false);
    // A line number, or a label: a name and a colon at the start of the line.
    // Both may stand together: 30 Finish:
    if (cursor_.IsKind(VBTokenKind::Number)) {
        if (blocks_.InProcedure())
            blocks_.AddLabel(cursor_.Peek().text);
        cursor_.Take();
        cursor_.TakeSymbol(":");
    }
    if (cursor_.IsKind(VBTokenKind::Word) && cursor_.IsSymbol(":", 1) && StatementWordOf(cursor_.Peek()) == W::None) {
        if (blocks_.InProcedure())
            blocks_.AddLabel(cursor_.Peek().text);
        cursor_.Take();
        cursor_.Take();
    }
    if (!Statements(true))
        findings_.Add(piece_, cursor_.FailLine(), cursor_.Message(), findings_.PlaceOf(cursor_.FailToken()));
}

bool CVBStatements::Statements(bool first)
{
    for (;;) {
        if (cursor_.IsKind(VBTokenKind::End) || (InSingleLineIf() && cursor_.IsWord("Else")))
            return true;
        if (cursor_.TakeSymbol(":")) {
            first = false;
            continue;
        }
        if (!Statement(first))
            return false;
        first = false;
        if (statementMayFollow_) {
            statementMayFollow_ = false;
            continue;
        }
        if (!cursor_.AtStatementEnd(InSingleLineIf()))
            return cursor_.Fail(kExpectedEndOfStatement);
    }
}

bool CVBStatements::Statement(bool first)
{
    if (blocks_.InModuleBlock(VBBlockKind::Type) || blocks_.InModuleBlock(VBBlockKind::Enum))
        return InsideModuleBlock(first);
    const VBStatementWord word = StatementWordOf(cursor_.Peek());
    switch (word) {
    case W::Attribute:
        return SkipStatement();
    case W::Option:
    case W::DefType:
    case W::Implements:
        return blocks_.InProcedure() ? cursor_.Fail(kInvalidInsideProcedure) : SkipStatement();
    case W::Public:
    case W::Private:
    case W::Global:
    case W::Friend:
    case W::Static:
    case W::Dim:
    case W::Const:
    case W::Sub:
    case W::Function:
    case W::Property:
    case W::Declare:
    case W::Type:
    case W::Enum:
    case W::Event:
        return declarations_.Declaration(first, piece_);
    case W::End:
        return End();
    default:
        if (!blocks_.InProcedure())
            return cursor_.Fail(word == W::None && !cursor_.IsKind(VBTokenKind::Word) &&
                                        !cursor_.IsSymbol(".") && !cursor_.IsSymbol("!")
                                    ? std::string_view{}
                                    : kInvalidOutsideProcedure);
        return Executable(word);
    }
}

// A Type holds only members; anything else is told once and then read as if the Type had been
// closed, so that the lines after it are judged as they stand. An Enum just ends.
bool CVBStatements::InsideModuleBlock(bool first)
{
    if (blocks_.InModuleBlock(VBBlockKind::Enum)) {
        const size_t start = cursor_.Position();
        if (declarations_.EnumMember() || cursor_.Failed())
            return !cursor_.Failed();
        cursor_.Rewind(start);
        blocks_.CloseModuleBlock();
        return Statement(first);
    }
    const size_t start = cursor_.Position();
    if (declarations_.TypeMember())
        return true;
    if (cursor_.Message() != kInvalidInsideType)
        return false;
    findings_.Add(piece_, cursor_.FailLine(), kInvalidInsideType, findings_.PlaceOf(cursor_.FailToken()));
    findings_.SetQuiet(true);
    blocks_.CloseModuleBlock();
    cursor_.Rewind(start);
    cursor_.ClearFailure();
    return Statement(first);
}

bool CVBStatements::Executable(VBStatementWord word)
{
    switch (word) {
    case W::If:
        return If();
    case W::ElseIf:
        return ElseIf();
    case W::Else:
        cursor_.Take();
        if (!blocks_.Reach(VBBlockKind::If))
            return cursor_.Fail(kElseWithoutIf);
        statementMayFollow_ = !cursor_.AtStatementEnd(false);
        return true;
    case W::For:
        return For();
    case W::Next:
        return Next();
    case W::Do:
    case W::Loop: {
        const VBToken& keyword = cursor_.Take();
        if (word == W::Do)
            blocks_.Open(VBBlockKind::Do, piece_, keyword);
        else if (!blocks_.Close(VBBlockKind::Do))
            return cursor_.Fail(kLoopWithoutDo);
        if (cursor_.TakeWord("While") || cursor_.TakeWord("Until"))
            return expressions_.Expression();
        return true;
    }
    case W::While:
        blocks_.Open(VBBlockKind::While, piece_, cursor_.Take());
        return expressions_.Expression();
    case W::Wend:
        cursor_.Take();
        return blocks_.Close(VBBlockKind::While) || cursor_.Fail(kWendWithoutWhile);
    case W::Select: {
        const VBToken& keyword = cursor_.Take();
        if (!cursor_.TakeWord("Case"))
            return cursor_.Fail({});
        blocks_.Open(VBBlockKind::Select, piece_, keyword);
        return expressions_.Expression();
    }
    case W::Case:
        return Case();
    case W::With:
        blocks_.Open(VBBlockKind::With, piece_, cursor_.Take());
        return expressions_.Expression();
    case W::Exit:
        cursor_.Take();
        if (cursor_.TakeWord("Do") || cursor_.TakeWord("For") || cursor_.TakeWord("Sub") ||
            cursor_.TakeWord("Function") || cursor_.TakeWord("Property"))
            return true;
        return cursor_.Fail({});
    case W::GoTo:
    case W::GoSub:
        cursor_.Take();
        return Target();
    case W::Return:
        cursor_.Take();
        return true;
    case W::Resume:
        cursor_.Take();
        if (cursor_.AtStatementEnd(InSingleLineIf()) || cursor_.TakeWord("Next"))
            return true;
        if (cursor_.IsKind(VBTokenKind::Number) && LabelKey(cursor_.Peek().text) == "0") {
            cursor_.Take();
            return true;
        }
        return Target();
    case W::On:
        return On();
    case W::Call:
    case W::RaiseEvent:
        cursor_.Take();
        return expressions_.Operand();
    case W::Set:
    case W::Let:
        cursor_.Take();
        return Assignment();
    case W::Erase:
        cursor_.Take();
        do {
            if (!expressions_.Operand())
                return false;
        } while (cursor_.TakeSymbol(","));
        return true;
    case W::ReDim:
        cursor_.Take();
        cursor_.TakeWord("Preserve");
        do {
            // ReDim .Items(n) inside With.
            if (cursor_.IsSymbol(".") && cursor_.IsKind(VBTokenKind::Word, 1))
                cursor_.Take();
            if (!cursor_.IsKind(VBTokenKind::Word))
                return cursor_.Fail(kExpectedIdentifier);
            cursor_.Take();
            // ReDim a(i).Items(1 To n): members and bounds in any order.
            for (;;) {
                if (cursor_.IsSymbol(".") && cursor_.IsKind(VBTokenKind::Word, 1)) {
                    cursor_.Take();
                    cursor_.Take();
                } else if (cursor_.TakeSymbol("(")) {
                    if (!expressions_.ArgumentsInParentheses(true))
                        return false;
                } else {
                    break;
                }
            }
            if (!expressions_.AsClause())
                return false;
        } while (cursor_.TakeSymbol(","));
        return true;
    case W::OwnForm:
        return SkipStatement();
    default:
        return CallOrAssignment();
    }
}

bool CVBStatements::If()
{
    const VBToken& keyword = cursor_.Take();
    // An If that reads as a block If (it ends in Then, or in nothing) is opened even when its
    // condition is faulty, so that its End If is not told as a second error.
    const bool looksLikeBlock = cursor_.Last().kind == VBTokenKind::Word && !cursor_.Last().escaped &&
                                IsKeyword(cursor_.Last().text, "Then");
    if (!expressions_.Expression()) {
        if (looksLikeBlock)
            blocks_.Open(VBBlockKind::If, piece_, keyword);
        return false;
    }
    if (cursor_.TakeWord("GoTo")) {
        if (!Target())
            return false;
    } else if (!cursor_.TakeWord("Then")) {
        if (looksLikeBlock || cursor_.IsKind(VBTokenKind::End))
            blocks_.Open(VBBlockKind::If, piece_, keyword);
        return cursor_.Fail(kExpectedThenOrGoTo);
    } else if (cursor_.IsKind(VBTokenKind::End)) {
        blocks_.Open(VBBlockKind::If, piece_, keyword);
        return true;
    } else if (cursor_.IsKind(VBTokenKind::Number)) {
        if (!Target())
            return false;
    }
    if (singleLineIfs_ >= kDeepestSingleLineIf)
        return cursor_.Fail({});
    ++singleLineIfs_;
    expressions_.SetSingleLineIf(true);
    bool ok = Statements(false);
    if (ok && cursor_.TakeWord("Else"))
        ok = Statements(false);
    --singleLineIfs_;
    expressions_.SetSingleLineIf(InSingleLineIf());
    return ok;
}

bool CVBStatements::ElseIf()
{
    cursor_.Take();
    if (!blocks_.Reach(VBBlockKind::If))
        return cursor_.Fail(kElseWithoutIf);
    if (!expressions_.Expression())
        return false;
    if (!cursor_.TakeWord("Then"))
        return cursor_.Fail({});
    statementMayFollow_ = !cursor_.AtStatementEnd(false);
    return true;
}

bool CVBStatements::End()
{
    cursor_.Take();
    const bool inProcedure = blocks_.InProcedure();
    struct Closer {
        std::string_view word;
        VBBlockKind kind;
        std::string_view unmatched;
    };
    static constexpr Closer kClosers[] = {
        {"If", VBBlockKind::If, kEndIfWithoutBlockIf},
        {"Select", VBBlockKind::Select, kEndSelectWithoutSelect},
        {"With", VBBlockKind::With, kEndWithWithoutWith},
    };
    for (const Closer& closer : kClosers) {
        if (!cursor_.TakeWord(closer.word))
            continue;
        if (!inProcedure)
            return cursor_.Fail(kInvalidOutsideProcedure);
        return blocks_.Close(closer.kind) || cursor_.Fail(closer.unmatched);
    }
    if (cursor_.IsWord("Sub") || cursor_.IsWord("Function") || cursor_.IsWord("Property")) {
        const VBBlockKind kind = cursor_.IsWord("Sub")        ? VBBlockKind::Sub
                                 : cursor_.IsWord("Function") ? VBBlockKind::Function
                                                              : VBBlockKind::Property;
        cursor_.Take();
        if (!inProcedure)
            return cursor_.Fail({});
        // End Function closing a Sub: the Sub is told as never ended.
        blocks_.CloseProcedure(blocks_.ProcedureKind() != kind);
        while (cursor_.TakeSymbol(":")) {
        }
        return cursor_.IsKind(VBTokenKind::End) || cursor_.Fail(kOnlyCommentsAfterEnd);
    }
    if (cursor_.IsWord("Type") || cursor_.IsWord("Enum"))
        return cursor_.Fail({});
    if (!inProcedure)
        return cursor_.Fail(kInvalidOutsideProcedure);
    return cursor_.AtStatementEnd(InSingleLineIf()) || cursor_.Fail({});
}

bool CVBStatements::For()
{
    const VBToken& keyword = cursor_.Take();
    const bool each = cursor_.TakeWord("Each");
    const VBToken& variable = cursor_.Peek();
    const bool named = variable.kind == VBTokenKind::Word && (variable.escaped || !EndsOperand(variable.text));
    blocks_.Open(VBBlockKind::For, piece_, keyword, named ? variable.text : std::string_view{});
    if (!named)
        return cursor_.Fail(kExpectedIdentifier);
    cursor_.Take();
    if (each) {
        if (!cursor_.TakeWord("In"))
            return cursor_.Fail({});
        return expressions_.Expression();
    }
    if (!cursor_.TakeSymbol("="))
        return cursor_.Fail({});
    if (!expressions_.Expression())
        return false;
    if (!cursor_.TakeWord("To"))
        return cursor_.Fail({});
    if (!expressions_.Expression())
        return false;
    return !cursor_.TakeWord("Step") || expressions_.Expression();
}

// Next, Next i, Next j, i: each name must be the innermost For's.
bool CVBStatements::Next()
{
    cursor_.Take();
    if (cursor_.AtStatementEnd(InSingleLineIf()))
        return blocks_.Close(VBBlockKind::For) || cursor_.Fail(kNextWithoutFor);
    do {
        const VBToken& variable = cursor_.Peek();
        if (variable.kind != VBTokenKind::Word)
            return cursor_.Fail({});
        const std::string* expected = blocks_.InnermostForVariable();
        if (!expected)
            return cursor_.Fail(kNextWithoutFor);
        std::string_view name = variable.text;
        // i% and i are one variable.
        if (!variable.escaped && !name.empty() && std::string_view("$%&!#@").find(name.back()) != std::string_view::npos)
            name.remove_suffix(1);
        std::string_view wanted = *expected;
        if (!wanted.empty() && std::string_view("$%&!#@").find(wanted.back()) != std::string_view::npos)
            wanted.remove_suffix(1);
        // Compared before the close, which frees the name.
        const bool matches = EqualIgnoringCase(name, wanted);
        // The Next was meant for that For all the same: it closes it, so that the For is not
        // told a second time.
        blocks_.Close(VBBlockKind::For);
        if (!matches)
            return cursor_.Fail(kInvalidNextVariable);
        cursor_.Take();
    } while (cursor_.TakeSymbol(","));
    return true;
}

// Case Else, or a list of: value, lower To upper, Is < value.
bool CVBStatements::Case()
{
    cursor_.Take();
    if (!blocks_.Reach(VBBlockKind::Select))
        return cursor_.Fail(kCaseWithoutSelect);
    if (cursor_.TakeWord("Else")) {
        statementMayFollow_ = !cursor_.AtStatementEnd(false);
        return true;
    }
    do {
        if (cursor_.TakeWord("Is")) {
            if (!cursor_.IsKind(VBTokenKind::Symbol))
                return cursor_.Fail({});
            cursor_.Take();
        }
        if (!expressions_.Expression())
            return false;
        if (cursor_.TakeWord("To") && !expressions_.Expression())
            return false;
    } while (cursor_.TakeSymbol(","));
    return true;
}

// On Error GoTo label | 0 | -1, On Error Resume Next, On Local Error ..., On x GoTo a, b.
bool CVBStatements::On()
{
    cursor_.Take();
    cursor_.TakeWord("Local");
    if (cursor_.TakeWord("Error")) {
        if (cursor_.TakeWord("Resume"))
            return cursor_.TakeWord("Next") || cursor_.Fail({});
        if (!cursor_.TakeWord("GoTo"))
            return cursor_.Fail({});
        if (cursor_.TakeSymbol("-")) {
            cursor_.Take();
            return true;
        }
        if (cursor_.IsKind(VBTokenKind::Number) && LabelKey(cursor_.Peek().text) == "0") {
            cursor_.Take();
            return true;
        }
        return Target();
    }
    if (!expressions_.Expression())
        return false;
    if (!cursor_.TakeWord("GoTo") && !cursor_.TakeWord("GoSub"))
        return cursor_.Fail({});
    do {
        if (!Target())
            return false;
    } while (cursor_.TakeSymbol(","));
    return true;
}

bool CVBStatements::Target()
{
    const VBToken& target = cursor_.Peek();
    if (target.kind != VBTokenKind::Word && target.kind != VBTokenKind::Number)
        return cursor_.Fail({});
    blocks_.AddTarget(target, piece_);
    cursor_.Take();
    return true;
}

bool CVBStatements::Assignment()
{
    if (!expressions_.Operand())
        return false;
    if (!cursor_.TakeSymbol("="))
        return cursor_.Fail({});
    return expressions_.Expression();
}

// x = 1, obj.Method a, b, Foo (a) + 1, c, and the members of a With block.
bool CVBStatements::CallOrAssignment()
{
    const VBToken& start = cursor_.Peek();
    if (start.kind != VBTokenKind::Word && !cursor_.IsSymbol(".") && !cursor_.IsSymbol("!"))
        return cursor_.Fail({});
    if (start.kind == VBTokenKind::Word && !start.escaped && EndsOperand(start.text))
        return cursor_.Fail({});
    std::string_view lastMember;
    bool endsInArguments = false;
    if (!expressions_.Operand(&lastMember, &endsInArguments))
        return false;
    if (HasOwnForm(lastMember))
        return SkipStatement();
    if (cursor_.TakeSymbol("="))
        return expressions_.Expression();
    if (cursor_.AtStatementEnd(InSingleLineIf()))
        return true;
    if (!endsInArguments)
        return expressions_.ArgumentsWithoutParentheses();
    if (expressions_.IsBinaryOperator() && !expressions_.RestOfExpression())
        return false;
    return !cursor_.TakeSymbol(",") || expressions_.ArgumentsWithoutParentheses();
}

bool CVBStatements::SkipStatement()
{
    int depth = 0;
    while (!cursor_.IsKind(VBTokenKind::End)) {
        if (depth == 0 && cursor_.AtStatementEnd(InSingleLineIf()))
            break;
        if (cursor_.IsSymbol("("))
            ++depth;
        else if (cursor_.IsSymbol(")") && depth > 0)
            --depth;
        cursor_.Take();
    }
    return true;
}
