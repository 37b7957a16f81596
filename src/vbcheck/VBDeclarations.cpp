#include "vbcheck/VBDeclarations.h"

#include "common/MessageText.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBKeywords.h"

namespace {

constexpr unsigned kSubBit = 1;
constexpr unsigned kFunctionBit = 2;
constexpr unsigned kPropertyGetBit = 4;
constexpr unsigned kPropertyLetBit = 8;
constexpr unsigned kPropertySetBit = 16;
constexpr unsigned kPropertyBits = kPropertyGetBit | kPropertyLetBit | kPropertySetBit;

using W = VBStatementWord;

}  // namespace

bool CVBDeclarations::Register(const VBToken& token, unsigned kindBit)
{
    const std::string_view name = token.text;
    // One key buffer for all: a module declares many procedures, most of them once.
    procedureKey_.assign(name);
    for (char& c : procedureKey_)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
    long& kinds = procedures_.Value(procedureKey_);
    // Property Get, Let and Set of one name make one property; anything else twice is a clash.
    const bool clash = (kindBit & kPropertyBits) ? (kinds & (~kPropertyBits | kindBit)) != 0 : kinds != 0;
    kinds |= kindBit;
    if (!clash)
        return true;
    ambiguity_ = MessageText(kAmbiguousName, {{"name", name}});
    return cursor_.FailAt(token, ambiguity_);
}

void CVBDeclarations::AddPublic(int piece, int line, std::string_view name)
{
    publicProcedures_.push_back({piece, line, publicNames_.size(), name.size()});
    publicNames_.append(name);
}

std::vector<CVBDeclarations::PublicProcedure> CVBDeclarations::PublicProcedures() const
{
    std::vector<PublicProcedure> procedures;
    procedures.reserve(publicProcedures_.size());
    for (const PublicName& procedure : publicProcedures_)
        procedures.push_back({procedure.piece, procedure.line, publicNames_.substr(procedure.start, procedure.size)});
    return procedures;
}

bool CVBDeclarations::Declaration(bool first, int piece)
{
    const VBToken& start = cursor_.Peek();
    const int line = start.line;
    bool scoped = false;
    bool isPrivate = false;
    bool isStatic = false;
    // Each word looked up once among the statement words, not compared with each keyword in turn.
    VBStatementWord word = StatementWordOf(cursor_.Peek());
    for (;; word = StatementWordOf(cursor_.Peek())) {
        if (word == W::Private)
            isPrivate = true;
        if (word == W::Public || word == W::Private || word == W::Global || word == W::Friend)
            scoped = true;
        else if (word == W::Static)
            isStatic = true;
        else if (word != W::Dim)
            break;
        cursor_.Take();
    }
    if (word == W::Sub || word == W::Function || word == W::Property)
        return Procedure(first, piece, start, isPrivate);
    const bool inProcedure = blocks_.InProcedure();
    if (word == W::Declare)
        return inProcedure ? cursor_.Fail(kInvalidInsideProcedure) : Declare(piece, line, isPrivate);
    if (word == W::Type || word == W::Enum) {
        if (inProcedure)
            return cursor_.Fail(kInvalidInsideProcedure);
        const VBBlockKind kind = word == W::Type ? VBBlockKind::Type : VBBlockKind::Enum;
        cursor_.Take();
        if (!cursor_.IsKind(VBTokenKind::Word))
            return cursor_.Fail(kExpectedIdentifier);
        cursor_.Take();
        blocks_.Open(kind, piece, start);
        return true;
    }
    if (word == W::Event) {
        if (inProcedure)
            return cursor_.Fail(kInvalidInsideProcedure);
        while (!cursor_.IsKind(VBTokenKind::End))
            cursor_.Take();
        return true;
    }
    if (scoped && inProcedure)
        return cursor_.Fail(kInvalidInsideProcedure);
    if (word == W::Const) {
        cursor_.Take();
        return Constants();
    }
    // Static x outside procedures: VB6's text for it is not ours to guess.
    if (isStatic && !scoped && !inProcedure)
        return cursor_.Fail({});
    return Variables();
}

bool CVBDeclarations::Procedure(bool first, int piece, const VBToken& start, bool isPrivate)
{
    unsigned kindBit = kSubBit;
    VBBlockKind kind = VBBlockKind::Sub;
    if (cursor_.TakeWord("Function")) {
        kindBit = kFunctionBit;
        kind = VBBlockKind::Function;
    } else if (cursor_.TakeWord("Property")) {
        kind = VBBlockKind::Property;
        if (cursor_.TakeWord("Get"))
            kindBit = kPropertyGetBit;
        else if (cursor_.TakeWord("Let"))
            kindBit = kPropertyLetBit;
        else if (cursor_.TakeWord("Set"))
            kindBit = kPropertySetBit;
        else
            return cursor_.Fail({});
    } else {
        cursor_.Take();
    }
    // A header inside a procedure: the one before was never ended.
    if (blocks_.InProcedure())
        blocks_.CloseProcedure(true);
    if (blocks_.InModuleBlock(VBBlockKind::Enum))
        blocks_.CloseModuleBlock();
    blocks_.Open(kind, piece, start);
    if (!first)
        return cursor_.Fail(kMustBeFirstStatement);
    if (!cursor_.IsKind(VBTokenKind::Word) || (!cursor_.Peek().escaped && EndsOperand(cursor_.Peek().text)))
        return cursor_.Fail(kExpectedIdentifier);
    const VBToken& name = cursor_.Take();
    if (!isPrivate)
        AddPublic(piece, start.line, name.text);
    if (!Register(name, kindBit))
        return false;
    if (cursor_.TakeSymbol("(") && !SkipParameters())
        return false;
    if (cursor_.TakeWord("As")) {
        if (!expressions_.TypeName())
            return false;
        if (cursor_.TakeSymbol("(") && !cursor_.TakeSymbol(")"))
            return cursor_.Fail(kExpectedListSeparator);
    }
    return true;
}

// Up to the closing parenthesis; the parameters' own forms are not judged.
bool CVBDeclarations::SkipParameters()
{
    for (int depth = 1; depth > 0;) {
        if (cursor_.IsKind(VBTokenKind::End))
            return cursor_.Fail(kExpectedListSeparator);
        if (cursor_.IsSymbol("("))
            ++depth;
        else if (cursor_.IsSymbol(")"))
            --depth;
        cursor_.Take();
    }
    return true;
}

bool CVBDeclarations::Declare(int piece, int line, bool isPrivate)
{
    cursor_.Take();
    cursor_.TakeWord("PtrSafe");
    unsigned kindBit = 0;
    if (cursor_.TakeWord("Sub"))
        kindBit = kSubBit;
    else if (cursor_.TakeWord("Function"))
        kindBit = kFunctionBit;
    else
        return cursor_.Fail({});
    if (!cursor_.IsKind(VBTokenKind::Word))
        return cursor_.Fail(kExpectedIdentifier);
    const VBToken& name = cursor_.Take();
    if (!isPrivate)
        AddPublic(piece, line, name.text);
    if (!Register(name, kindBit))
        return false;
    while (!cursor_.IsKind(VBTokenKind::End) && !cursor_.IsSymbol(":"))
        cursor_.Take();
    return true;
}

bool CVBDeclarations::Variables()
{
    do {
        cursor_.TakeWord("WithEvents");
        const VBToken& name = cursor_.Peek();
        if (name.kind != VBTokenKind::Word || (!name.escaped && EndsOperand(name.text)))
            return cursor_.Fail(kExpectedIdentifier);
        cursor_.Take();
        if (cursor_.TakeSymbol("(") && !expressions_.ArgumentsInParentheses(true))
            return false;
        if (!expressions_.AsClause())
            return false;
    } while (cursor_.TakeSymbol(","));
    return true;
}

bool CVBDeclarations::Constants()
{
    do {
        const VBToken& name = cursor_.Peek();
        if (name.kind != VBTokenKind::Word || (!name.escaped && EndsOperand(name.text)))
            return cursor_.Fail(kExpectedIdentifier);
        cursor_.Take();
        if (cursor_.TakeWord("As") && !expressions_.TypeName())
            return false;
        if (!cursor_.TakeSymbol("="))
            return cursor_.Fail({});
        if (!expressions_.Expression())
            return false;
    } while (cursor_.TakeSymbol(","));
    return true;
}

bool CVBDeclarations::TakeBlockEnd(std::string_view word)
{
    if (!cursor_.IsWord("End") || !cursor_.IsWord(word, 1))
        return false;
    cursor_.Take();
    cursor_.Take();
    blocks_.CloseModuleBlock();
    return true;
}

// name[(bounds)] As Type [* n]; a member may be called like a keyword (Left, Width, Name).
bool CVBDeclarations::TypeMember()
{
    if (TakeBlockEnd("Type"))
        return true;
    if (!cursor_.IsKind(VBTokenKind::Word) || !(cursor_.IsWord("As", 1) || cursor_.IsSymbol("(", 1)))
        return cursor_.Fail(kInvalidInsideType);
    cursor_.Take();
    if (cursor_.TakeSymbol("(") && !expressions_.ArgumentsInParentheses(true))
        return false;
    if (!cursor_.TakeWord("As"))
        return cursor_.Fail(kInvalidInsideType);
    return expressions_.TypeName();
}

bool CVBDeclarations::EnumMember()
{
    if (TakeBlockEnd("Enum"))
        return true;
    if (!cursor_.IsKind(VBTokenKind::Word) ||
        !(cursor_.IsSymbol("=", 1) || cursor_.IsKind(VBTokenKind::End, 1) || cursor_.IsSymbol(":", 1)))
        return false;
    cursor_.Take();
    return !cursor_.TakeSymbol("=") || expressions_.Expression();
}
