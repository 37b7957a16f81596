#include "vbcheck/VBDeclarations.h"

#include "common/FoldCase.h"
#include "common/MessageText.h"
#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBNameKey.h"
#include "vbcheck/VBWords.h"

namespace {

constexpr unsigned kSubBit = 1;
constexpr unsigned kFunctionBit = 2;
constexpr unsigned kPropertyGetBit = 4;
constexpr unsigned kPropertyLetBit = 8;
constexpr unsigned kPropertySetBit = 16;
constexpr unsigned kPropertyBits = kPropertyGetBit | kPropertyLetBit | kPropertySetBit;
// A signature in a table's number: the count of parameters, whether that count is the only one a
// call may pass, and whether the name was declared more than once.
constexpr long kCountBits = 0xFF;
constexpr long kFixedBit = 0x100;
constexpr long kDeclaredBit = 0x200;
constexpr long kTwiceBit = 0x400;

using W = VBStatementKind;

}  // namespace

bool CVBDeclarations::Register(const VBToken& token, unsigned kindBit)
{
    const std::string_view name = token.text;
    // One key buffer for all: a module declares many procedures, most of them once.
    NameKeyInto(name, procedureKey_);
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
    Scope scope;
    // Each word looked up once among the statement words, not compared with each keyword in turn.
    VBStatementKind word = StatementKindOf(cursor_.Peek().Word());
    for (;; word = StatementKindOf(cursor_.Peek().Word())) {
        if (word == W::Private)
            scope.isPrivate = true;
        else if (word == W::Public || word == W::Global)
            scope.isPublic = true;
        else if (word == W::Friend)
            scope.isFriend = true;
        else if (word == W::Static)
            scope.isStatic = true;
        else if (word != W::Dim)
            break;
        cursor_.Take();
    }
    const bool objectOnly = scope.isFriend || word == W::Event;
    if (objectOnly && blocks_.ModuleKind() == VBModuleKind::Standard)
        return cursor_.FailAt(start, kOnlyInObjectModule);
    if (word == W::Sub || word == W::Function || word == W::Property)
        return Procedure(first, piece, start, scope.isPrivate);
    if (word == W::Declare || word == W::Type || word == W::Enum || word == W::Event)
        return ModuleLevel(word, piece, start, scope);
    if (blocks_.InProcedure() && (scope.isPrivate || scope.isPublic || scope.isFriend))
        return cursor_.Fail(kInvalidAttributeInProcedure);
    if (word == W::Const) {
        cursor_.Take();
        if (scope.isPublic && blocks_.ModuleKind() == VBModuleKind::Object)
            return cursor_.FailAt(start, kNotPublicInObjectModule);
        return Constants();
    }
    // Static x outside procedures: VB6's text for it is not ours to guess.
    if (scope.isStatic && !scope.isPrivate && !scope.isPublic && !scope.isFriend && !blocks_.InProcedure())
        return cursor_.Stop();
    return Variables();
}

// Declare, Type, Enum and Event: outside procedures only.
bool CVBDeclarations::ModuleLevel(VBStatementKind word, int piece, const VBToken& start, Scope scope)
{
    if (blocks_.InProcedure())
        return cursor_.Fail(kInvalidInsideProcedure);
    if (word == W::Declare) {
        // A Declare without Private is public, which a class, form or user control may not have.
        if (!scope.isPrivate && blocks_.ModuleKind() == VBModuleKind::Object)
            return cursor_.FailAt(start, kNotPublicInObjectModule);
        return Declare(piece, start.line, scope.isPrivate);
    }
    cursor_.Take();
    if (!cursor_.IsKind(VBTokenKind::Word))
        return cursor_.Fail(kExpectedIdentifier);
    const VBToken& name = cursor_.Take();
    if (word == W::Event) {
        if (!name.escaped && name.text.find('_') != std::string_view::npos)
            return cursor_.FailAt(name, kInvalidEventName);
        while (!cursor_.IsKind(VBTokenKind::End))
            cursor_.Take();
        return true;
    }
    blocks_.Open(word == W::Type ? VBBlockKind::Type : VBBlockKind::Enum, piece, start);
    typeMembers_ = 0;
    return true;
}

bool CVBDeclarations::Procedure(bool first, int piece, const VBToken& start, bool isPrivate)
{
    unsigned kindBit = kSubBit;
    VBBlockKind kind = VBBlockKind::Sub;
    if (cursor_.TakeWord(VBWord::Function)) {
        kindBit = kFunctionBit;
        kind = VBBlockKind::Function;
    } else if (cursor_.TakeWord(VBWord::Property)) {
        kind = VBBlockKind::Property;
        if (cursor_.TakeWord(VBWord::Get))
            kindBit = kPropertyGetBit;
        else if (cursor_.TakeWord(VBWord::Let))
            kindBit = kPropertyLetBit;
        else if (cursor_.TakeWord(VBWord::Set))
            kindBit = kPropertySetBit;
        else
            return cursor_.Stop();
    } else {
        cursor_.Take();
    }
    // A header inside a procedure: the one before was never ended.
    if (blocks_.InProcedure())
        blocks_.CloseProcedure(true);
    if (blocks_.InModuleBlock(VBBlockKind::Enum))
        blocks_.CloseModuleBlock();
    blocks_.Open(kind, piece, start);
    names_.StartProcedure();
    if (!first)
        return cursor_.Fail(kMustBeFirstStatement);
    // Sub New() is VB.NET's constructor; New is a keyword to VB6.
    if (!cursor_.IsKind(VBTokenKind::Word) ||
        EndsOperand(cursor_.Peek().Word()) || cursor_.IsWord(VBWord::New))
        return cursor_.Fail(kExpectedIdentifier);
    const VBToken& name = cursor_.Take();
    if (!isPrivate)
        AddPublic(piece, start.line, name.text);
    if (!Register(name, kindBit))
        return false;
    Signature signature;
    if (cursor_.TakeSymbol(VBSymbol::LeftParenthesis) && !SkipParameters(signature))
        return false;
    if ((kindBit == kPropertyLetBit || kindBit == kPropertySetBit) && signature.count == 0)
        return cursor_.FailAt(name, kArgumentRequiredForLetOrSet);
    // Only a Sub's or Function's arguments are counted: a Property's value goes apart.
    signature.fixed = signature.fixed && kind != VBBlockKind::Property;
    Sign(signature);
    if (cursor_.TakeWord(VBWord::As)) {
        if (!expressions_.TypeName())
            return false;
        if (cursor_.TakeSymbol(VBSymbol::LeftParenthesis) && !cursor_.TakeSymbol(VBSymbol::RightParenthesis))
            return cursor_.Fail(kExpectedListSeparator);
    }
    return true;
}

// Up to the closing parenthesis, keeping the parameters' names as the procedure's first; their
// forms are not judged.
bool CVBDeclarations::SkipParameters(Signature& signature)
{
    bool nameNext = true;
    bool byValue = false;
    for (int depth = 1; depth > 0;) {
        if (cursor_.IsKind(VBTokenKind::End))
            return cursor_.Fail(kExpectedListSeparator);
        if (nameNext && (cursor_.IsWord(VBWord::Optional) || cursor_.IsWord(VBWord::ParamArray)))
            signature.fixed = false;
        if (nameNext)
            byValue = byValue || cursor_.IsWord(VBWord::ByVal);
        if (cursor_.IsSymbol(VBSymbol::LeftParenthesis))
            ++depth;
        else if (cursor_.IsSymbol(VBSymbol::RightParenthesis))
            --depth;
        else if (depth == 1 && cursor_.IsSymbol(VBSymbol::Comma))
            nameNext = true;
        else if (nameNext && !cursor_.IsWord(VBWord::Optional) && !cursor_.IsWord(VBWord::ByVal) &&
                 !cursor_.IsWord(VBWord::ByRef) && !cursor_.IsWord(VBWord::ParamArray)) {
            ++signature.count;
            if (cursor_.IsKind(VBTokenKind::Word) && !names_.Declare(cursor_.Peek(), true))
                return cursor_.Fail(kDuplicateDeclaration);
            if (byValue && cursor_.IsSymbol(VBSymbol::LeftParenthesis, 1) &&
                cursor_.IsSymbol(VBSymbol::RightParenthesis, 2))
                return cursor_.Fail(kArrayArgumentByRef);
            // a b As Long: the name takes As, a default, a comma or the end.
            if (cursor_.IsKind(VBTokenKind::Word, 1) && !cursor_.IsWord(VBWord::As, 1)) {
                cursor_.Take();
                return cursor_.Fail(kExpectedListSeparator);
            }
            nameNext = false;
            byValue = false;
        }
        cursor_.Take();
    }
    return true;
}

bool CVBDeclarations::Declare(int piece, int line, bool isPrivate)
{
    cursor_.Take();
    cursor_.TakeWord(VBWord::PtrSafe);
    unsigned kindBit = 0;
    if (cursor_.TakeWord(VBWord::Sub))
        kindBit = kSubBit;
    else if (cursor_.TakeWord(VBWord::Function))
        kindBit = kFunctionBit;
    else
        return cursor_.Stop();
    if (!cursor_.IsKind(VBTokenKind::Word))
        return cursor_.Fail(kExpectedIdentifier);
    const VBToken& name = cursor_.Take();
    if (!isPrivate)
        AddPublic(piece, line, name.text);
    if (!Register(name, kindBit))
        return false;
    Sign({0, false});
    while (!cursor_.IsKind(VBTokenKind::End) && !cursor_.IsSymbol(VBSymbol::Colon))
        cursor_.Take();
    return true;
}

bool CVBDeclarations::Variables()
{
    do {
        if (cursor_.IsWord(VBWord::WithEvents) && blocks_.ModuleKind() == VBModuleKind::Standard)
            return cursor_.Fail(kOnlyInObjectModule);
        cursor_.TakeWord(VBWord::WithEvents);
        const VBToken& name = cursor_.Peek();
        if (name.kind != VBTokenKind::Word || EndsOperand(name.Word()))
            return cursor_.Fail(kExpectedIdentifier);
        if (!names_.Declare(name, blocks_.InProcedure()))
            return cursor_.Fail(kDuplicateDeclaration);
        cursor_.Take();
        if (cursor_.TakeSymbol(VBSymbol::LeftParenthesis) && !expressions_.ArgumentsInParentheses(true))
            return false;
        if (!expressions_.AsClause())
            return false;
    } while (cursor_.TakeSymbol(VBSymbol::Comma));
    return true;
}

bool CVBDeclarations::Constants()
{
    do {
        const VBToken& name = cursor_.Peek();
        if (name.kind != VBTokenKind::Word || EndsOperand(name.Word()))
            return cursor_.Fail(kExpectedIdentifier);
        if (!names_.Declare(name, blocks_.InProcedure()))
            return cursor_.Fail(kDuplicateDeclaration);
        cursor_.Take();
        if (cursor_.TakeWord(VBWord::As) && !expressions_.TypeName())
            return false;
        if (!cursor_.TakeSymbol(VBSymbol::Equals))
            return cursor_.Stop();
        if (!expressions_.Expression())
            return false;
    } while (cursor_.TakeSymbol(VBSymbol::Comma));
    return true;
}

bool CVBDeclarations::TakeBlockEnd(VBWord word)
{
    if (!cursor_.IsWord(VBWord::End) || !cursor_.IsWord(word, 1))
        return false;
    cursor_.Take();
    cursor_.Take();
    blocks_.CloseModuleBlock();
    return true;
}

// name[(bounds)] As [New] Type [* n]; a member may be called like a keyword (Left, Width, Name).
bool CVBDeclarations::TypeMember()
{
    const VBToken& first = cursor_.Peek();
    if (TakeBlockEnd(VBWord::Type))
        return typeMembers_ > 0 || cursor_.FailAt(first, kTypeWithoutMembers);
    ++typeMembers_;
    if (!cursor_.IsKind(VBTokenKind::Word) ||
        !(cursor_.IsWord(VBWord::As, 1) || cursor_.IsSymbol(VBSymbol::LeftParenthesis, 1)))
        return cursor_.Fail(kInvalidInsideType);
    cursor_.Take();
    if (cursor_.TakeSymbol(VBSymbol::LeftParenthesis) && !expressions_.ArgumentsInParentheses(true))
        return false;
    if (!cursor_.IsWord(VBWord::As))
        return cursor_.Fail(kInvalidInsideType);
    return expressions_.AsClause();  // As New too: a member may create its object on first use
}

bool CVBDeclarations::EnumMember()
{
    if (TakeBlockEnd(VBWord::Enum))
        return true;
    if (!cursor_.IsKind(VBTokenKind::Word) ||
        !(cursor_.IsSymbol(VBSymbol::Equals, 1) || cursor_.IsKind(VBTokenKind::End, 1) ||
          cursor_.IsSymbol(VBSymbol::Colon, 1)))
        return false;
    cursor_.Take();
    return !cursor_.TakeSymbol(VBSymbol::Equals) || expressions_.Expression();
}

void CVBDeclarations::Sign(Signature signature)
{
    long& value = signatures_.Value(procedureKey_);
    if (value & kDeclaredBit) {
        value |= kTwiceBit;
        return;
    }
    const long count = signature.count < kCountBits ? signature.count : kCountBits;
    value = kDeclaredBit | (signature.fixed && count < kCountBits ? kFixedBit | count : 0);
}

void CVBDeclarations::AddCall(const VBToken& name, int arguments, int piece, VBPlace place)
{
    // Not a call where the procedure's own names hide the module's procedure.
    if (names_.Has(name))
        return;
    calls_.push_back({piece, name.line, place, arguments, callNames_.size(), 0});
    NameKeyInto(WithoutTypeSuffix(name), procedureKey_);
    callNames_.append(procedureKey_);
    calls_.back().size = procedureKey_.size();
}

void CVBDeclarations::CheckCalls(CVBFindings& findings) const
{
    for (const Call& call : calls_) {
        const long value = signatures_.ValueOf(std::string_view(callNames_).substr(call.start, call.size));
        if ((value & (kDeclaredBit | kFixedBit | kTwiceBit)) != (kDeclaredBit | kFixedBit))
            continue;
        const long count = value & kCountBits;
        if (call.arguments != count)
            findings.Add(call.piece, call.line, call.arguments > count ? kWrongArgumentCount : kArgumentNotOptional,
                         call.place);
    }
}
