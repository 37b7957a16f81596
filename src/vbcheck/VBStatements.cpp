#include "vbcheck/VBStatements.h"

#include "common/FoldCase.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBWords.h"

namespace {

// Far beyond real code: If a Then If b Then ... on one line nests by recursion.
constexpr int kDeepestSingleLineIf = 100;

using W = VBStatementKind;

// Members whose arguments have forms of their own: obj.Print a; b / obj.Line (0,0)-(1,1).
bool HasOwnForm(VBWord member)
{
    return member == VBWord::Print || member == VBWord::Line || member == VBWord::Circle || member == VBWord::PSet ||
           member == VBWord::Scale;
}

// VB.NET's Try, which VB6 reads as a call of a Sub named Try.
bool IsTry(const VBToken& token)
{
    return token.kind == VBTokenKind::Word && !token.escaped && EqualIgnoringCase(token.text, "Try");
}

}  // namespace

bool CVBStatements::Line(const std::vector<VBToken>& tokens, int piece)
{
    const bool declarationsSection = !blocks_.ProcedureSeen();
    cursor_.Start(tokens);
    piece_ = piece;
    singleLineIfs_ = 0;
    statementMayFollow_ = false;
    expressions_.SetSingleLineIf(false);
    // Both may stand together: 30 Finish:
    if (cursor_.IsKind(VBTokenKind::LineNumber)) {
        if (blocks_.InProcedure())
            blocks_.AddLabel(cursor_.Peek().text);
        cursor_.Take();
        cursor_.TakeSymbol(VBSymbol::Colon);
    }
    if (cursor_.IsKind(VBTokenKind::Label)) {
        if (blocks_.InProcedure())
            blocks_.AddLabel(cursor_.Peek().text);
        cursor_.Take();
        cursor_.Take();
    }
    if (Statements(true))
        return true;
    if (!cursor_.Stopped())
        findings_.Add(piece_, cursor_.FailedAt().line, AsBuildSays(cursor_.Message(), declarationsSection),
                      findings_.PlaceOf(cursor_.FailedAt().text));
    return false;
}

bool CVBStatements::Statements(bool first)
{
    for (;;) {
        if (cursor_.IsKind(VBTokenKind::End) || (InSingleLineIf() && cursor_.IsWord(VBWord::Else)))
            return true;
        if (cursor_.TakeSymbol(VBSymbol::Colon)) {
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
    const VBStatementKind word = StatementKindOf(cursor_.Peek().Word());
    // A stray End Sub there is End's to judge.
    if (!blocks_.InProcedure() && blocks_.ProcedureSeen() && word != W::Attribute && word != W::End &&
        !StartsProcedure())
        return cursor_.Fail(kOnlyCommentsAfterEnd);
    // No statement stands between Select Case and its first Case, told once; a declaration, which
    // runs nothing, may (shipped code has a Dim there).
    if (blocks_.AwaitsCase() && word != W::Case && word != W::End && word != W::Dim && word != W::Static &&
        word != W::Const) {
        blocks_.TakeCase();
        return cursor_.Fail(kStatementsBeforeFirstCase);
    }
    switch (word) {
    case W::Attribute:
        return SkipStatement();
    case W::Option:
        return blocks_.InProcedure() ? cursor_.Fail(kInvalidInsideProcedure) : Option();
    case W::DefType:
        return blocks_.InProcedure() ? cursor_.Fail(kInvalidInsideProcedure) : SkipStatement();
    case W::Implements:
        if (blocks_.InProcedure())
            return cursor_.Fail(kInvalidInsideProcedure);
        return blocks_.ModuleKind() == VBModuleKind::Standard ? cursor_.Fail(kOnlyInObjectModule) : SkipStatement();
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
            return word == W::None && !cursor_.IsKind(VBTokenKind::Word) && !cursor_.IsSymbol(VBSymbol::Dot) &&
                           !cursor_.IsSymbol(VBSymbol::Bang)
                       ? cursor_.Stop()
                       : cursor_.Fail(kInvalidOutsideProcedure);
        return Executable(word);
    }
}

// A Type or an Enum holds only members: another line is told, and the block stays open for the
// members after it, as in VB6. A line that starts a declaration or a procedure shows the block
// was never ended, which VB6 tells in words not ours: the block ends there untold.
bool CVBStatements::InsideModuleBlock(bool first)
{
    const bool type = blocks_.InModuleBlock(VBBlockKind::Type);
    const std::string_view invalid = type ? kInvalidInsideType : kInvalidInsideEnum;
    const size_t start = cursor_.Position();
    if (type ? declarations_.TypeMember() : declarations_.EnumMember())
        return true;
    // An error inside a member: its value does not parse.
    if (cursor_.Failed() && cursor_.Message() != invalid)
        return false;
    cursor_.Rewind(start);
    cursor_.ClearFailure();
    if (!StartsDeclaration())
        return cursor_.Fail(invalid);
    blocks_.CloseModuleBlock();
    return Statement(first);
}

bool CVBStatements::StartsDeclaration() const
{
    switch (StatementKindOf(cursor_.Peek().Word())) {
    case W::Public: case W::Private: case W::Global: case W::Friend: case W::Static: case W::Dim: case W::Const:
    case W::Sub: case W::Function: case W::Property: case W::Declare: case W::Type: case W::Enum: case W::Event:
    case W::Option: case W::DefType: case W::Implements:
        return true;
    default:
        return false;
    }
}

// A procedure's header: Sub, Function or Property after scope words and Static.
bool CVBStatements::StartsProcedure() const
{
    for (size_t ahead = 0;; ++ahead) {
        switch (StatementKindOf(cursor_.Peek(ahead).Word())) {
        case W::Public: case W::Private: case W::Global: case W::Friend: case W::Static:
            continue;
        case W::Sub: case W::Function: case W::Property:
            return true;
        default:
            return false;
        }
    }
}

// Option Explicit, Option Base 0 or 1, Option Compare Text or Binary, Option Private Module; each
// once in a module.
bool CVBStatements::Option()
{
    cursor_.Take();
    const VBToken& word = cursor_.Peek();
    unsigned bit = 0;
    if (cursor_.TakeWord(VBWord::Explicit)) {
        bit = 1;
    } else if (cursor_.TakeWord(VBWord::Base)) {
        bit = 2;
        if (!cursor_.IsKind(VBTokenKind::Number) || (cursor_.Peek().text != "0" && cursor_.Peek().text != "1"))
            return cursor_.Fail(kExpectedZeroOrOne);
        cursor_.Take();
    } else if (cursor_.TakeWord(VBWord::Compare)) {
        bit = 4;
        if (!cursor_.TakeWord(VBWord::Text) && !cursor_.TakeWord(VBWord::Binary))
            return cursor_.Fail(kExpectedTextOrBinary);
    } else if (cursor_.TakeWord(VBWord::Private)) {
        bit = 8;
        if (!cursor_.TakeWord(VBWord::Module))
            return cursor_.Fail(kExpectedModule);
        if (blocks_.ModuleKind() == VBModuleKind::Object)
            return cursor_.FailAt(word, kOptionPrivateInObjectModule);
    } else {
        return cursor_.Fail(kExpectedOptionWord);
    }
    if (options_ & bit)
        return cursor_.FailAt(word, kDuplicateOption);
    options_ |= bit;
    return true;
}

bool CVBStatements::Executable(VBStatementKind word)
{
    switch (word) {
    case W::If:
        return If();
    case W::ElseIf:
        return ElseIf();
    case W::Else:
        return Else();
    case W::For:
        return For();
    case W::Next:
        return Next();
    case W::Do:
    case W::Loop:
        return DoOrLoop(word);
    case W::While:
        blocks_.Open(VBBlockKind::While, piece_, cursor_.Take());
        return expressions_.Expression();
    case W::Wend:
        cursor_.Take();
        return blocks_.Close(VBBlockKind::While) || cursor_.Fail(kWendWithoutWhile);
    case W::Select:
        return Select();
    case W::Case:
        return Case();
    case W::With:
        blocks_.Open(VBBlockKind::With, piece_, cursor_.Take());
        return expressions_.Expression();
    case W::Exit:
        return Exit();
    default:
        return Simple(word);
    }
}

// The statements that open or close no block.
bool CVBStatements::Simple(VBStatementKind word)
{
    switch (word) {
    case W::GoTo:
    case W::GoSub:
        cursor_.Take();
        return Target();
    case W::Return:
        cursor_.Take();
        return true;
    case W::Resume:
        return Resume();
    case W::On:
        return On();
    case W::Call:
        return Call();
    case W::RaiseEvent:
        cursor_.Take();
        return expressions_.Operand();
    case W::Set:
    case W::Let:
        cursor_.Take();
        return Assignment();
    case W::Erase:
        return Erase();
    case W::ReDim:
        return ReDim();
    case W::OwnForm:
        return OwnForm();
    default:
        // VB.NET's Try alone reads as a call; its End Try is not told after its Catch.
        tryOpen_ = tryOpen_ || (IsTry(cursor_.Peek()) && cursor_.AtStatementEndAt(1, InSingleLineIf()));
        return CallOrAssignment();
    }
}

bool CVBStatements::Call()
{
    cursor_.Take();
    if (cursor_.IsKind(VBTokenKind::Word))
        NoteCall(cursor_.IsSymbol(VBSymbol::LeftParenthesis, 1));
    return expressions_.Operand();
}

bool CVBStatements::Erase()
{
    cursor_.Take();
    do {
        if (!expressions_.Operand())
            return false;
    } while (cursor_.TakeSymbol(VBSymbol::Comma));
    return true;
}

bool CVBStatements::OwnForm()
{
    // A standard module has no surface to print on; inside With VB6 says something else.
    if (cursor_.IsWord(VBWord::Print) && !cursor_.IsSymbol(VBSymbol::Hash, 1) &&
        blocks_.ModuleKind() == VBModuleKind::Standard && !blocks_.Inside(VBBlockKind::With))
        return cursor_.Fail(kNoPrintMethod);
    return SkipStatement();
}

bool CVBStatements::Else()
{
    const VBToken word = cursor_.Peek();
    cursor_.Take();
    // A second Else of one If matches none.
    if (!blocks_.Reach(VBBlockKind::If) || blocks_.Marked())
        return cursor_.FailAt(word, kElseWithoutIf);
    blocks_.Mark();
    statementMayFollow_ = !cursor_.AtStatementEnd(false);
    return true;
}

bool CVBStatements::DoOrLoop(VBStatementKind word)
{
    const VBToken& keyword = cursor_.Take();
    const bool condition = cursor_.IsWord(VBWord::While) || cursor_.IsWord(VBWord::Until);
    if (word == W::Do) {
        blocks_.Open(VBBlockKind::Do, piece_, keyword);
        if (condition)
            blocks_.Mark();
    } else {
        // A Do has one condition, at its head or at its Loop: a second makes the Loop no Do's.
        const bool second = condition && blocks_.InnermostIs(VBBlockKind::Do) && blocks_.Marked();
        if (!blocks_.Close(VBBlockKind::Do) || second)
            return cursor_.Fail(kLoopWithoutDo);
    }
    if (condition) {
        cursor_.Take();
        return expressions_.Expression();
    }
    return true;
}

bool CVBStatements::Select()
{
    const VBToken& keyword = cursor_.Take();
    // Opened all the same, so that its End Select is no second finding.
    blocks_.Open(VBBlockKind::Select, piece_, keyword);
    if (!cursor_.TakeWord(VBWord::Case))
        return cursor_.Fail(kExpectedCase);
    return expressions_.Expression();
}

bool CVBStatements::Resume()
{
    cursor_.Take();
    if (cursor_.AtStatementEnd(InSingleLineIf()) || cursor_.TakeWord(VBWord::Next))
        return true;
    if (cursor_.IsKind(VBTokenKind::Number) && LabelKey(cursor_.Peek().text) == "0") {
        cursor_.Take();
        return true;
    }
    return Target();
}

bool CVBStatements::ReDim()
{
    cursor_.Take();
    cursor_.TakeWord(VBWord::Preserve);
    do {
        // ReDim .Items(n) inside With.
        if (cursor_.IsSymbol(VBSymbol::Dot) && cursor_.IsKind(VBTokenKind::Word, 1))
            cursor_.Take();
        if (!cursor_.IsKind(VBTokenKind::Word))
            return cursor_.Fail(kExpectedIdentifier);
        cursor_.Take();
        // ReDim a(i).Items(1 To n): members and bounds in any order.
        for (;;) {
            if (cursor_.IsSymbol(VBSymbol::Dot) && cursor_.IsKind(VBTokenKind::Word, 1)) {
                cursor_.Take();
                cursor_.Take();
            } else if (cursor_.TakeSymbol(VBSymbol::LeftParenthesis)) {
                if (!expressions_.ArgumentsInParentheses(true))
                    return false;
            } else {
                break;
            }
        }
        if (!expressions_.AsClause())
            return false;
    } while (cursor_.TakeSymbol(VBSymbol::Comma));
    return true;
}

bool CVBStatements::If()
{
    const VBToken& keyword = cursor_.Take();
    // An If that reads as a block If (it ends in Then, or in nothing) is opened even when its
    // condition is faulty, so that its End If is not told as a second error.
    const bool looksLikeBlock = cursor_.Last().Word() == VBWord::Then;
    if (!expressions_.Expression()) {
        if (looksLikeBlock)
            blocks_.Open(VBBlockKind::If, piece_, keyword);
        return false;
    }
    if (cursor_.TakeWord(VBWord::GoTo)) {
        if (!Target())
            return false;
    } else if (!cursor_.TakeWord(VBWord::Then)) {
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
        return cursor_.Stop();
    ++singleLineIfs_;
    expressions_.SetSingleLineIf(true);
    bool ok = Statements(false);
    if (ok && cursor_.TakeWord(VBWord::Else))
        ok = Statements(false);
    --singleLineIfs_;
    expressions_.SetSingleLineIf(InSingleLineIf());
    return ok;
}

bool CVBStatements::ElseIf()
{
    const VBToken word = cursor_.Peek();
    cursor_.Take();
    // After the Else, an ElseIf matches no If either.
    if (!blocks_.Reach(VBBlockKind::If) || blocks_.Marked())
        return cursor_.FailAt(word, kElseWithoutIf);
    if (!expressions_.Expression())
        return false;
    if (!cursor_.TakeWord(VBWord::Then))
        return cursor_.Fail(kExpectedThen);
    statementMayFollow_ = !cursor_.AtStatementEnd(false);
    return true;
}

// Exit Do and Exit For inside their loop, Exit Sub, Function and Property in their kind of
// procedure. A Property Get may take Exit Sub and Exit Function, as measured in VBA: Properties are
// left alone.
bool CVBStatements::Exit()
{
    cursor_.Take();
    const VBToken& word = cursor_.Peek();
    const VBBlockKind procedure = blocks_.ProcedureKind();
    if (cursor_.TakeWord(VBWord::Do))
        return blocks_.Inside(VBBlockKind::Do) || cursor_.FailAt(word, kExitDoOutsideDo);
    if (cursor_.TakeWord(VBWord::For))
        return blocks_.Inside(VBBlockKind::For) || cursor_.FailAt(word, kExitForOutsideFor);
    if (cursor_.TakeWord(VBWord::Sub))
        return procedure != VBBlockKind::Function || cursor_.FailAt(word, kExitSubNotAllowed);
    if (cursor_.TakeWord(VBWord::Function))
        return procedure != VBBlockKind::Sub || cursor_.FailAt(word, kExitFunctionNotAllowed);
    if (cursor_.TakeWord(VBWord::Property))
        return procedure == VBBlockKind::Property || cursor_.FailAt(word, kExitPropertyNotAllowed);
    return cursor_.Fail(kExpectedExitWord);
}

bool CVBStatements::End()
{
    cursor_.Take();
    switch (cursor_.Peek().Word()) {
    case VBWord::If:
        return EndBlock(VBBlockKind::If, kEndIfWithoutBlockIf);
    case VBWord::Select:
        return EndBlock(VBBlockKind::Select, kEndSelectWithoutSelect);
    case VBWord::With:
        return EndBlock(VBBlockKind::With, kEndWithWithoutWith);
    case VBWord::Sub:
        return EndProcedure(VBBlockKind::Sub);
    case VBWord::Function:
        return EndProcedure(VBBlockKind::Function);
    case VBWord::Property:
        return EndProcedure(VBBlockKind::Property);
    case VBWord::Type:
    case VBWord::Enum: {
        // Their blocks take their End themselves: here none is open.
        const bool type = cursor_.Take().Word() == VBWord::Type;
        if (blocks_.InProcedure())
            return cursor_.Stop();
        return cursor_.Fail(type ? kInvalidOutsideType : kInvalidOutsideEnum);
    }
    default:
        break;
    }
    if (!blocks_.InProcedure())
        return cursor_.Fail(kInvalidOutsideProcedure);
    // End alone ends the program. End Iff is no End of a block, but meant for the innermost one:
    // it closes that, so that the lines after it are not told too.
    if (cursor_.AtStatementEnd(InSingleLineIf()))
        return true;
    // VB.NET's Try ... Catch ... End Try: its Catch is told already.
    if (tryOpen_ && IsTry(cursor_.Peek())) {
        tryOpen_ = false;
        return cursor_.Stop();
    }
    if (cursor_.IsKind(VBTokenKind::Word))
        blocks_.CloseInnermost(cursor_.Peek().text);
    return cursor_.Fail(kExpectedEndOfStatement);
}

bool CVBStatements::EndBlock(VBBlockKind kind, std::string_view unmatched)
{
    cursor_.Take();
    if (!blocks_.InProcedure())
        return cursor_.Fail(kInvalidOutsideProcedure);
    return blocks_.Close(kind) || cursor_.Fail(unmatched);
}

bool CVBStatements::EndProcedure(VBBlockKind kind)
{
    cursor_.Take();
    if (!blocks_.InProcedure())
        return cursor_.Stop();
    // End Function closing a Sub: the Sub is told as never ended.
    blocks_.CloseProcedure(blocks_.ProcedureKind() != kind);
    tryOpen_ = false;
    while (cursor_.TakeSymbol(VBSymbol::Colon)) {
    }
    return cursor_.IsKind(VBTokenKind::End) || cursor_.Fail(kOnlyCommentsAfterEnd);
}

bool CVBStatements::For()
{
    const VBToken& keyword = cursor_.Take();
    const bool each = cursor_.TakeWord(VBWord::Each);
    const VBToken& variable = cursor_.Peek();
    const bool named = variable.kind == VBTokenKind::Word && !EndsOperand(variable.Word());
    const std::string_view name = named ? WithoutTypeSuffix(variable) : std::string_view{};
    if (named)
        blocks_.ForVariableInUse(LabelKey(name), piece_, variable);
    blocks_.Open(VBBlockKind::For, piece_, keyword, name);
    if (!named)
        return cursor_.Fail(kExpectedIdentifier);
    cursor_.Take();
    // For x.Item = ... and For a(1) = ...: forms not judged. For Each c .Controls lacks its In.
    if (!cursor_.Peek().spaceBefore && (cursor_.IsSymbol(VBSymbol::Dot) || cursor_.IsSymbol(VBSymbol::Bang) ||
                                        cursor_.IsSymbol(VBSymbol::LeftParenthesis)))
        return cursor_.Stop();
    if (each) {
        if (!cursor_.TakeWord(VBWord::In))
            return cursor_.Fail(kExpectedIn);
        return expressions_.Expression();
    }
    if (!cursor_.TakeSymbol(VBSymbol::Equals))
        return cursor_.Fail(kExpectedEquals);
    if (!expressions_.Expression())
        return false;
    if (!cursor_.TakeWord(VBWord::To))
        return cursor_.Fail(kExpectedTo);
    if (!expressions_.Expression())
        return false;
    return !cursor_.TakeWord(VBWord::Step) || expressions_.Expression();
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
            return cursor_.Stop();
        const std::string* expected = blocks_.InnermostForVariable();
        if (!expected)
            return cursor_.Fail(kNextWithoutFor);
        // Compared before the close, which frees the name; i% and i are one variable.
        const bool matches = EqualIgnoringCase(WithoutTypeSuffix(variable), *expected);
        // The Next was meant for that For all the same: it closes it, so that the For is not
        // told a second time.
        if (!blocks_.Close(VBBlockKind::For))
            return cursor_.Fail(kNextWithoutFor);
        if (!matches)
            return cursor_.Fail(kInvalidNextVariable);
        cursor_.Take();
    } while (cursor_.TakeSymbol(VBSymbol::Comma));
    return true;
}

// Case Else, or a list of: value, lower To upper, Is < value.
bool CVBStatements::Case()
{
    cursor_.Take();
    // Case Else is the last Case of its Select.
    if (!blocks_.Reach(VBBlockKind::Select) || blocks_.Marked())
        return cursor_.Fail(kCaseWithoutSelect);
    blocks_.TakeCase();
    if (cursor_.TakeWord(VBWord::Else)) {
        blocks_.Mark();
        statementMayFollow_ = !cursor_.AtStatementEnd(false);
        return true;
    }
    do {
        if (cursor_.TakeWord(VBWord::Is)) {
            if (!cursor_.IsKind(VBTokenKind::Symbol))
                return cursor_.Stop();
            cursor_.Take();
        }
        if (!expressions_.Expression())
            return false;
        if (cursor_.TakeWord(VBWord::To) && !expressions_.Expression())
            return false;
    } while (cursor_.TakeSymbol(VBSymbol::Comma));
    return true;
}

// On Error GoTo label | 0 | -1, On Error Resume Next, On Local Error ..., On x GoTo a, b.
bool CVBStatements::On()
{
    cursor_.Take();
    cursor_.TakeWord(VBWord::Local);
    if (cursor_.TakeWord(VBWord::Error)) {
        if (cursor_.TakeWord(VBWord::Resume))
            return cursor_.TakeWord(VBWord::Next) || cursor_.Fail(kExpectedNext);
        if (!cursor_.TakeWord(VBWord::GoTo))
            return cursor_.Stop();
        if (cursor_.TakeSymbol(VBSymbol::Minus)) {
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
    if (!cursor_.TakeWord(VBWord::GoTo) && !cursor_.TakeWord(VBWord::GoSub))
        return cursor_.Stop();
    do {
        if (!Target())
            return false;
    } while (cursor_.TakeSymbol(VBSymbol::Comma));
    return true;
}

bool CVBStatements::Target()
{
    const VBToken& target = cursor_.Peek();
    if (target.kind != VBTokenKind::Word && target.kind != VBTokenKind::Number)
        return cursor_.Stop();
    blocks_.AddTarget(target, piece_);
    cursor_.Take();
    return true;
}

bool CVBStatements::Assignment()
{
    if (!expressions_.Operand())
        return false;
    if (!cursor_.TakeSymbol(VBSymbol::Equals))
        return cursor_.Stop();
    return expressions_.Expression();
}

// x = 1, obj.Method a, b, Foo (a) + 1, c, and the members of a With block.
bool CVBStatements::CallOrAssignment()
{
    const VBToken& start = cursor_.Peek();
    if (start.kind != VBTokenKind::Word && !cursor_.IsSymbol(VBSymbol::Dot) && !cursor_.IsSymbol(VBSymbol::Bang))
        return cursor_.Stop();
    if (EndsOperand(start.Word()))
        return cursor_.Stop();
    if (start.kind == VBTokenKind::Word && !cursor_.IsSymbol(VBSymbol::Dot, 1) &&
        !cursor_.IsSymbol(VBSymbol::Bang, 1) && !cursor_.IsSymbol(VBSymbol::LeftParenthesis, 1) &&
        !cursor_.IsSymbol(VBSymbol::Equals, 1))
        NoteCall(false);
    VBWord lastMember = VBWord::None;
    bool endsInArguments = false;
    if (!expressions_.Operand(&lastMember, &endsInArguments))
        return false;
    if (HasOwnForm(lastMember))
        return SkipStatement();
    if (cursor_.TakeSymbol(VBSymbol::Equals))
        return expressions_.Expression();
    if (cursor_.AtStatementEnd(InSingleLineIf()))
        return true;
    if (!endsInArguments)
        return expressions_.ArgumentsWithoutParentheses();
    if (expressions_.IsBinaryOperator() && !expressions_.RestOfExpression())
        return false;
    return !cursor_.TakeSymbol(VBSymbol::Comma) || expressions_.ArgumentsWithoutParentheses();
}

// The call of the name at the cursor, with its arguments after it up to the statement's end, or in
// parentheses (Call F(a, b)). Left out where an argument is omitted or named, which needs the
// parameters' names and defaults.
void CVBStatements::NoteCall(bool inParentheses)
{
    const VBToken& name = cursor_.Peek();
    int depth = inParentheses ? 1 : 0;
    int arguments = 0;
    bool argumentOpen = false;
    size_t ahead = inParentheses ? 2 : 1;
    for (;; ++ahead) {
        const VBToken& token = cursor_.Peek(ahead);
        if (inParentheses && token.kind == VBTokenKind::End)
            return;
        const bool atEnd = token.kind == VBTokenKind::End ||
                           (depth == 0 && (cursor_.IsSymbol(VBSymbol::Colon, ahead) ||
                                           (InSingleLineIf() && cursor_.IsWord(VBWord::Else, ahead))));
        if (atEnd || (inParentheses && depth == 1 && cursor_.IsSymbol(VBSymbol::RightParenthesis, ahead)) ||
            (depth == (inParentheses ? 1 : 0) && cursor_.IsSymbol(VBSymbol::Comma, ahead))) {
            if (!argumentOpen && (arguments > 0 || cursor_.IsSymbol(VBSymbol::Comma, ahead)))
                return;  // an omitted argument
            arguments += argumentOpen ? 1 : 0;
            argumentOpen = false;
            if (!cursor_.IsSymbol(VBSymbol::Comma, ahead))
                break;
            continue;
        }
        if (cursor_.IsSymbol(VBSymbol::ColonEquals, ahead))
            return;
        depth += cursor_.IsSymbol(VBSymbol::LeftParenthesis, ahead)    ? 1
                 : cursor_.IsSymbol(VBSymbol::RightParenthesis, ahead) ? -1
                                                                       : 0;
        argumentOpen = true;
    }
    // Call F(a)(0) or Call F(a).Member: not a plain call.
    if (inParentheses && !cursor_.AtStatementEndAt(ahead + 1, InSingleLineIf()))
        return;
    declarations_.AddCall(name, arguments, piece_, findings_.PlaceOf(name.text));
}

bool CVBStatements::SkipStatement()
{
    int depth = 0;
    const bool standard = blocks_.ModuleKind() == VBModuleKind::Standard;
    while (!cursor_.IsKind(VBTokenKind::End)) {
        if (depth == 0 && cursor_.AtStatementEnd(InSingleLineIf()))
            break;
        // Debug.Print Me: the forms read here take Me too.
        if (standard && cursor_.IsWord(VBWord::Me))
            return cursor_.Fail(kInvalidUseOfMe);
        if (cursor_.IsSymbol(VBSymbol::LeftParenthesis))
            ++depth;
        else if (cursor_.IsSymbol(VBSymbol::RightParenthesis) && depth > 0)
            --depth;
        cursor_.Take();
    }
    return true;
}
