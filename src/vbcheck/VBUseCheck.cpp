#include "vbcheck/VBUseCheck.h"

#include "common/FoldCase.h"
#include "vbcheck/VBCheckMessages.h"

namespace {

// VBA's functions and objects that code also uses as the names of its variables (Dim Left As
// Long): whether a local of that name hides them in every use is not certain, so such names are
// not judged.
bool IsLibraryName(std::string_view name)
{
    static constexpr std::string_view kNames[] = {
        "Abs", "App", "Array", "Asc", "Atn", "Chr", "Choose", "Clipboard", "Command", "Cos", "CurDir", "Day",
        "Dir", "Environ", "EOF", "Err", "Exp", "FileLen", "Filter", "Fix", "Format", "Forms", "FreeFile", "Hex",
        "Hour", "IIf", "InStr", "InStrRev", "Int", "Join", "LBound", "LCase", "Left", "LenB", "Loc", "LOF", "Log",
        "LTrim", "Mid", "Minute", "Month", "Now", "Oct", "Printer", "Replace", "RGB", "Right", "Rnd", "Round",
        "RTrim", "Screen", "Second", "Sgn", "Shell", "Sin", "Space", "Split", "Sqr", "Str", "StrComp", "StrConv",
        "Switch", "Tab", "Tan", "Time", "Timer", "Trim", "TypeName", "UBound", "UCase", "Val", "VarType",
        "Weekday", "Year"};
    for (std::string_view known : kNames) {
        if (EqualIgnoringCase(name, known))
            return true;
    }
    return false;
}

// Where the target of an assignment ends: a name with its members and argument lists, x.y(1)!z.
const VBToken* TargetEnd(const VBToken* at, const VBToken* end)
{
    ++at;
    while (at < end) {
        if (IsSymbolToken(at, VBSymbol::LeftParenthesis) && !at->spaceBefore) {
            at = FindOutsideParentheses(at + 1, end, VBSymbol::RightParenthesis);
            at += at < end ? 1 : 0;
        } else if ((IsSymbolToken(at, VBSymbol::Dot) || IsSymbolToken(at, VBSymbol::Bang)) && at + 1 < end &&
                   at[1].kind == VBTokenKind::Word) {
            at += 2;
        } else {
            break;
        }
    }
    return at;
}

// How many subscripts the parentheses that open at open hold; 0 for none.
int Subscripts(const VBToken* open, const VBToken* end)
{
    const VBToken* close = FindOutsideParentheses(open + 1, end, VBSymbol::RightParenthesis);
    if (close == open + 1)
        return 0;
    int count = 1;
    for (const VBToken* at = open + 1; at < close; at = FindOutsideParentheses(at, close, VBSymbol::Comma) + 1)
        count += FindOutsideParentheses(at, close, VBSymbol::Comma) < close ? 1 : 0;
    return count;
}

bool IsValue(const VBToken* token)
{
    return token && (token->kind == VBTokenKind::Number || token->kind == VBTokenKind::String ||
                     token->kind == VBTokenKind::Date || IsNameToken(token));
}

}  // namespace

const VBDeclaredName* CVBUseCheck::Known(const VBToken* name)
{
    if (!IsNameToken(name))
        return nullptr;
    const VBDeclaredName* declared = names_.Find(*name);
    return declared && !declared->uncertain ? declared : nullptr;
}

VBSpanFinding CVBUseCheck::Told(std::string_view message, const VBToken* name)
{
    return IsLibraryName(WithoutTypeSuffix(*name)) ? VBSpanFinding{} : VBSpanFinding{message, name};
}

const VBDeclaredName* CVBUseCheck::ScalarVariable(const VBToken* name)
{
    const VBDeclaredName* declared = Known(name);
    if (!declared || declared->constant || declared->dimensions != VBDeclaredName::kNotArray ||
        !IsScalar(declared->type))
        return nullptr;
    return declared;
}

VBSpanFinding CVBUseCheck::Statement(VBSpan statement, VBStatementKind word)
{
    assignedName_ = nullptr;
    const VBToken* first = statement.begin;
    const VBToken* second = statement.At(1);
    switch (word) {
    case VBStatementKind::ReDim:
        return ReDim(statement);
    case VBStatementKind::With:
        if (statement.Size() == 2 && ScalarVariable(second))
            return Told(kWithObjectScalar, second);
        return Uses(statement, second);
    case VBStatementKind::For:
        if (IsWordToken(second, VBWord::Each) && ScalarVariable(statement.At(2)))
            return Told(kForEachVariable, statement.At(2));
        return Uses(statement, second);
    case VBStatementKind::Set:
        if (IsSymbolToken(statement.At(2), VBSymbol::Equals) && ScalarVariable(second))
            return Told(kObjectRequired, second);
        return Assignment(statement, second, true);
    case VBStatementKind::Let:
        return Assignment(statement, second);
    case VBStatementKind::Call:
    case VBStatementKind::RaiseEvent:
        return second ? Uses(statement, second + 1) : VBSpanFinding{};
    case VBStatementKind::None:
        if (!IsNameToken(first))
            return Uses(statement, first);
        if (IsValue(second) && second->spaceBefore && ScalarVariable(first))
            return Told(kExpectedProcedureNotVariable, first);
        return Assignment(statement, first);
    default:
        if (IsWordToken(first, VBWord::Open))
            if (const VBSpanFinding finding = Open(statement))
                return finding;
        return Uses(statement, first);
    }
}

VBSpanFinding CVBUseCheck::Assignment(VBSpan statement, const VBToken* target, bool isSet)
{
    if (!target)
        return {};
    const VBToken* equals = TargetEnd(target, statement.end);
    if (equals >= statement.end || !IsSymbolToken(equals, VBSymbol::Equals))
        return Uses(statement, target);
    const VBToken* value = equals + 1;
    const bool whole = equals == target + 1;
    const VBDeclaredName* declared = whole ? Known(target) : nullptr;
    if (declared && declared->constant)
        return Told(kAssignmentToConstant, target);
    if (IsWordToken(value, VBWord::AddressOf))
        return {kInvalidUseOfAddressOf, value};
    const bool alone = value + 1 == statement.end;
    if (alone && !isSet && IsWordToken(value, VBWord::Nothing) && declared && declared->type == VBValueType::Object &&
        declared->dimensions == VBDeclaredName::kNotArray)
        return {kInvalidUseOfObject, value};
    if (alone && !isSet && IsNameToken(value) && !names_.Declares(*value))
        assignedName_ = value;
    return Uses(statement, target);
}

VBSpanFinding CVBUseCheck::ReDim(VBSpan statement)
{
    const VBToken* at = statement.begin + 1;
    if (IsWordToken(at, VBWord::Preserve))
        ++at;
    for (; at < statement.end; at = FindOutsideParentheses(at, statement.end, VBSymbol::Comma) + 1) {
        // ReDim .Items(n) and ReDim a(1).Items(n) resize members.
        const VBToken* item = FindOutsideParentheses(at, statement.end, VBSymbol::Comma);
        const VBToken* close = IsSymbolToken(at + 1, VBSymbol::LeftParenthesis) ? FindOutsideParentheses(at + 2, item, VBSymbol::RightParenthesis) : item;
        if (!IsNameToken(at) || close >= item || (close + 1 < item && !IsWordToken(close + 1, VBWord::As)))
            continue;
        const VBDeclaredName* declared = Known(at);
        if (declared && declared->dimensions > 0)
            return Told(kArrayAlreadyDimensioned, at);
        // A ReDim of a name the procedure does not declare may declare it: its uses are not judged.
        if (!names_.IsLocal(*at))
            names_.Declare(*at, {VBValueType::Unknown, 0, false, true}, true);
    }
    return {};
}

// Open f For Input Access Write, Open f For Output Access Read.
VBSpanFinding CVBUseCheck::Open(VBSpan statement) const
{
    size_t at = 1;
    for (int depth = 0; at < statement.Size() && (depth > 0 || !IsWordToken(statement.At(at), VBWord::For)); ++at)
        depth += IsSymbolToken(statement.At(at), VBSymbol::LeftParenthesis) ? 1 : IsSymbolToken(statement.At(at), VBSymbol::RightParenthesis) ? -1 : 0;
    const VBToken* mode = statement.At(at + 1);
    const VBToken* access = statement.At(at + 2);
    const VBToken* kind = statement.At(at + 3);
    if (!IsWordText(access, "Access"))
        return {};
    const bool readOnly = IsWordText(kind, "Read") && !IsWordToken(statement.At(at + 4), VBWord::Write);
    const bool writeOnly = IsWordToken(kind, VBWord::Write);
    if ((IsWordToken(mode, VBWord::Input) && writeOnly) ||
        ((IsWordText(mode, "Output") || IsWordText(mode, "Append")) && readOnly))
        return {kInvalidAccessMode, access};
    return {};
}

VBSpanFinding CVBUseCheck::Uses(VBSpan statement, const VBToken* from)
{
    if (names_.Empty())
        return {};
    for (const VBToken* at = from; at && at < statement.end; ++at) {
        if (at->kind != VBTokenKind::Word)
            continue;
        if (const VBSpanFinding finding = Use(at, statement))
            return finding;
    }
    return {};
}

VBSpanFinding CVBUseCheck::Use(const VBToken* name, VBSpan statement)
{
    const VBToken* next = name + 1 < statement.end ? name + 1 : nullptr;
    const bool subscripted = IsSymbolToken(next, VBSymbol::LeftParenthesis) && !next->spaceBefore;
    const bool qualified = IsSymbolToken(next, VBSymbol::Dot) && !next->spaceBefore;
    const VBValueType suffix = name->escaped ? VBValueType::Unknown : TypeOfSuffix(name->text.back());
    // Most names are none of these: looked up only when they are.
    if (!subscripted && !qualified && suffix == VBValueType::Unknown)
        return {};
    // Members, and the names after As, New, AddressOf and Is, are no variables.
    const VBToken* before = name > statement.begin ? name - 1 : nullptr;
    if (IsSymbolToken(before, VBSymbol::Dot) || IsSymbolToken(before, VBSymbol::Bang) || IsWordToken(before, VBWord::As) ||
        IsWordToken(before, VBWord::New) || IsWordToken(before, VBWord::AddressOf) || IsWordToken(before, VBWord::Is))
        return {};
    const VBDeclaredName* declared = Known(name);
    if (!declared)
        return {};
    // A suffix is the name's only where nothing sticks to it: n&"x" may be read otherwise.
    if (suffix != VBValueType::Unknown && IsScalar(declared->type) && suffix != declared->type &&
        (!next || next->spaceBefore || IsSymbolToken(next, VBSymbol::RightParenthesis) || IsSymbolToken(next, VBSymbol::Comma)))
        return Told(kSuffixMismatch, name);
    if (declared->constant)
        return {};
    const bool scalar = declared->dimensions == VBDeclaredName::kNotArray && IsScalar(declared->type);
    if (subscripted && scalar) {
        // n(1) as a statement of its own is a call; only an assignment to it is judged.
        const VBToken* close = FindOutsideParentheses(next + 1, statement.end, VBSymbol::RightParenthesis);
        if (name != statement.begin || (close + 1 < statement.end && IsSymbolToken(close + 1, VBSymbol::Equals)))
            return Told(kExpectedArray, name);
    }
    if (subscripted && declared->dimensions > 0) {
        const int subscripts = Subscripts(next, statement.end);
        if (subscripts > 0 && subscripts != declared->dimensions)
            return Told(kWrongNumberOfDimensions, name);
    }
    if (scalar && qualified && name + 2 < statement.end &&
        name[2].kind == VBTokenKind::Word)
        return Told(kInvalidQualifier, name);
    return {};
}
