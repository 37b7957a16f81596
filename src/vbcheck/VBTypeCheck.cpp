#include "vbcheck/VBTypeCheck.h"

#include "vbcheck/VBCheckMessages.h"
#include "vbcheck/VBNameKey.h"
#include "vbcheck/VBWords.h"

namespace {

using W = VBStatementKind;

// Where the statement that starts at `at` ends: at a colon, or at the Then or Else of an If,
// after which another statement begins.
const VBToken* StatementEnd(const VBToken* at, const VBToken* end)
{
    for (int depth = 0; at < end; ++at) {
        switch (at->Symbol()) {
        case VBSymbol::LeftParenthesis:
            ++depth;
            break;
        case VBSymbol::RightParenthesis:
            depth -= depth > 0 ? 1 : 0;
            break;
        case VBSymbol::Colon:
            if (depth == 0)
                return at;
            break;
        default:
            if (depth == 0 && (at->Word() == VBWord::Then || at->Word() == VBWord::Else))
                return at;
        }
    }
    return end;
}

// A letter of a Deftype's range, counted from A; -1 for anything else.
int LetterOf(const VBToken& token)
{
    if (token.kind != VBTokenKind::Word || token.escaped || token.text.size() != 1)
        return -1;
    const char c = static_cast<char>(token.text[0] | 0x20);
    return c >= 'a' && c <= 'z' ? c - 'a' : -1;
}

bool IsScopeWord(W word)
{
    return word == W::Public || word == W::Private || word == W::Global || word == W::Friend || word == W::Static ||
           word == W::Dim;
}

}  // namespace

void CVBTypeCheck::Line(const std::vector<VBToken>& tokens, int piece, bool readThrough, bool insideIf)
{
    piece_ = piece;
    readThrough_ = readThrough;
    certain_ = readThrough && !insideIf;
    reported_ = false;
    const VBToken* at = tokens.data();
    const VBToken* end = at + tokens.size() - 1;
    // A line number, a label, or both: 30 Finish: (their colons end empty statements).
    while (at < end && (at->kind == VBTokenKind::LineNumber || at->kind == VBTokenKind::Label))
        ++at;
    while (at < end) {
        const VBToken* stop = StatementEnd(at, end);
        if (stop > at)
            Statement({at, stop});
        at = stop + 1;
    }
}

void CVBTypeCheck::Statement(VBSpan statement)
{
    if (block_ != ModuleBlock::None) {
        InsideModuleBlock(statement);
        return;
    }
    const VBToken* second = statement.At(1);
    const W word = StatementKindOf(statement.begin->Word());
    switch (word) {
    case W::Public: case W::Private: case W::Global: case W::Friend: case W::Static: case W::Dim: case W::Const:
    case W::Sub: case W::Function: case W::Property: case W::Declare: case W::Type: case W::Enum: case W::Event:
        Report(Declaration(statement));
        return;
    case W::DefType:
        Report(Deftype(statement));
        return;
    case W::End:
        if (IsWordToken(second, VBWord::Sub) || IsWordToken(second, VBWord::Function) || IsWordToken(second, VBWord::Property)) {
            inProcedure_ = false;
            names_.StartProcedure();
        }
        return;
    default:
        break;
    }
    if (!inProcedure_)
        return;
    const VBSpanFinding finding = uses_.Statement(statement, word);
    Report(finding);
    const VBToken* assigned = uses_.AssignedName();
    if (finding || !assigned || !readThrough_ || reported_)
        return;
    NameKeyInto(WithoutTypeSuffix(*assigned), key_);
    assigned_.push_back({piece_, assigned->line, findings_.PlaceOf(assigned->text), key_});
}

VBSpanFinding CVBTypeCheck::Declaration(VBSpan statement)
{
    const VBToken* at = statement.begin;
    bool scoped = false;
    while (at < statement.end && IsScopeWord(StatementKindOf(at->Word()))) {
        scoped = true;
        ++at;
    }
    if (at >= statement.end)
        return {};
    declarations_.Start(inProcedure_, certain_);
    const VBSpan rest{at + 1, statement.end};
    switch (StatementKindOf(at->Word())) {
    case W::Const:
        return declarations_.Constants(rest);
    case W::Sub:
    case W::Function:
    case W::Property:
        return Header(at, statement);
    case W::Declare:
        at += IsWordToken(rest.At(0), VBWord::PtrSafe) ? 1 : 0;
        NoteModuleName(at + 2 < statement.end ? at + 2 : nullptr, false);
        return {};
    case W::Type:
    case W::Enum:
        block_ = StatementKindOf(at->Word()) == W::Type ? ModuleBlock::Type : ModuleBlock::Enum;
        NoteModuleName(rest.At(0), false);
        return {};
    case W::Event:
        NoteModuleName(rest.At(0), false);
        return {};
    default:
        variableDeclared_ = variableDeclared_ || (scoped && !inProcedure_ && certain_);
        return scoped ? declarations_.Variables({at, statement.end}) : VBSpanFinding{};
    }
}

VBSpanFinding CVBTypeCheck::Deftype(VBSpan statement)
{
    unsigned letters = 0;
    for (const VBToken* at = statement.begin + 1; at < statement.end; at += 2) {
        const VBToken* last = at;
        if (IsSymbolToken(at + 1, VBSymbol::Minus) && at + 2 < statement.end)
            last = at + 2;
        const int from = LetterOf(*at);
        const int to = LetterOf(*last);
        if (from < 0 || to < from || (last + 1 < statement.end && !IsSymbolToken(last + 1, VBSymbol::Comma)))
            return {};
        for (int bit = from; bit <= to; ++bit)
            letters |= 1u << bit;
        at = last;
    }
    if (!certain_ || inProcedure_)
        return {};
    if (variableDeclared_)
        return {kDeftypeAfterDeclaration, statement.begin};
    const bool twice = (deftypeLetters_ & letters) != 0;
    deftypeLetters_ |= letters;
    return twice ? VBSpanFinding{kDuplicateDeftype, statement.begin} : VBSpanFinding{};
}

VBSpanFinding CVBTypeCheck::Header(const VBToken* word, VBSpan statement)
{
    const bool sub = IsWordToken(word, VBWord::Sub);
    const VBToken* name = word + (IsWordToken(word, VBWord::Property) ? 2 : 1);
    inProcedure_ = true;
    names_.StartProcedure();
    if (name >= statement.end || !IsNameToken(name))
        return {};
    NoteModuleName(name, sub);
    if (!IsSymbolToken(name + 1 < statement.end ? name + 1 : nullptr, VBSymbol::LeftParenthesis))
        return {};
    declarations_.Start(true, certain_);
    return declarations_.Parameters({name + 2, FindOutsideParentheses(name + 2, statement.end, VBSymbol::RightParenthesis)});
}

void CVBTypeCheck::InsideModuleBlock(VBSpan statement)
{
    if (IsWordToken(statement.begin, VBWord::End)) {
        block_ = ModuleBlock::None;
        return;
    }
    if (block_ == ModuleBlock::Enum)
        NoteModuleName(statement.begin, false);
}

void CVBTypeCheck::NoteModuleName(const VBToken* name, bool sub)
{
    if (!name || name->kind != VBTokenKind::Word)
        return;
    NameKeyInto(WithoutTypeSuffix(*name), key_);
    const auto [entry, added] = moduleNames_.emplace(key_, sub && certain_);
    if (!added)
        entry->second = false;
}

void CVBTypeCheck::Report(const VBSpanFinding& finding)
{
    if (!finding || !readThrough_ || reported_)
        return;
    reported_ = true;
    findings_.Add(piece_, finding.at->line, finding.message, findings_.PlaceOf(finding.at->text));
}

void CVBTypeCheck::Finish()
{
    for (const Assigned& assigned : assigned_) {
        const auto found = moduleNames_.find(assigned.key);
        if (found != moduleNames_.end() && found->second)
            findings_.Add(assigned.piece, assigned.line, kExpectedFunctionOrVariable, assigned.place);
    }
}
