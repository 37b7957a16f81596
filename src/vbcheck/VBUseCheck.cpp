#include "vbcheck/VBUseCheck.h"

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
        if (IsKeyword(name, known))
            return true;
    }
    return false;
}

// Where the target of an assignment ends: a name with its members and argument lists, x.y(1)!z.
const VBToken* TargetEnd(const VBToken* at, const VBToken* end)
{
    ++at;
    while (at < end) {
        if (IsSymbolToken(at, "(") && !at->spaceBefore) {
            at = FindOutsideParentheses(at + 1, end, ")");
            at += at < end ? 1 : 0;
        } else if ((IsSymbolToken(at, ".") || IsSymbolToken(at, "!")) && at + 1 < end &&
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
    const VBToken* close = FindOutsideParentheses(open + 1, end, ")");
    if (close == open + 1)
        return 0;
    int count = 1;
    for (const VBToken* at = open + 1; at < close; at = FindOutsideParentheses(at, close, ",") + 1)
        count += FindOutsideParentheses(at, close, ",") < close ? 1 : 0;
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

VBSpanFinding CVBUseCheck::Statement(VBSpan statement, VBStatementWord word)
{
    assignedName_ = nullptr;
    const VBToken* first = statement.begin;
    const VBToken* second = statement.At(1);
    switch (word) {
    case VBStatementWord::ReDim:
        return ReDim(statement);
    case VBStatementWord::With:
        if (statement.Size() == 2 && ScalarVariable(second))
            return Told(kWithObjectScalar, second);
        return Uses(statement, second);
    case VBStatementWord::For:
        if (IsWordToken(second, "Each") && ScalarVariable(statement.At(2)))
            return Told(kForEachVariable, statement.At(2));
        return Uses(statement, second);
    case VBStatementWord::Set:
        if (IsSymbolToken(statement.At(2), "=") && ScalarVariable(second))
            return Told(kObjectRequired, second);
        return Assignment(statement, second, true);
    case VBStatementWord::Let:
        return Assignment(statement, second);
    case VBStatementWord::Call:
    case VBStatementWord::RaiseEvent:
        return second ? Uses(statement, second + 1) : VBSpanFinding{};
    case VBStatementWord::None:
        if (!IsNameToken(first))
            return Uses(statement, first);
        if (IsValue(second) && second->spaceBefore && ScalarVariable(first))
            return Told(kExpectedProcedureNotVariable, first);
        return Assignment(statement, first);
    default:
        if (IsWordToken(first, "Open"))
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
    if (equals >= statement.end || !IsSymbolToken(equals, "="))
        return Uses(statement, target);
    const VBToken* value = equals + 1;
    const bool whole = equals == target + 1;
    const VBDeclaredName* declared = whole ? Known(target) : nullptr;
    if (declared && declared->constant)
        return Told(kAssignmentToConstant, target);
    if (IsWordToken(value, "AddressOf"))
        return {kInvalidUseOfAddressOf, value};
    const bool alone = value + 1 == statement.end;
    if (alone && !isSet && IsWordToken(value, "Nothing") && declared && declared->type == VBValueType::Object &&
        declared->dimensions == VBDeclaredName::kNotArray)
        return {kInvalidUseOfObject, value};
    if (alone && !isSet && IsNameToken(value) && !names_.Declares(*value))
        assignedName_ = value;
    return Uses(statement, target);
}

VBSpanFinding CVBUseCheck::ReDim(VBSpan statement)
{
    const VBToken* at = statement.begin + 1;
    if (IsWordToken(at, "Preserve"))
        ++at;
    for (; at < statement.end; at = FindOutsideParentheses(at, statement.end, ",") + 1) {
        // ReDim .Items(n) and ReDim a(1).Items(n) resize members.
        const VBToken* item = FindOutsideParentheses(at, statement.end, ",");
        const VBToken* close = IsSymbolToken(at + 1, "(") ? FindOutsideParentheses(at + 2, item, ")") : item;
        if (!IsNameToken(at) || close >= item || (close + 1 < item && !IsWordToken(close + 1, "As")))
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
    for (int depth = 0; at < statement.Size() && (depth > 0 || !IsWordToken(statement.At(at), "For")); ++at)
        depth += IsSymbolToken(statement.At(at), "(") ? 1 : IsSymbolToken(statement.At(at), ")") ? -1 : 0;
    const VBToken* mode = statement.At(at + 1);
    const VBToken* access = statement.At(at + 2);
    const VBToken* kind = statement.At(at + 3);
    if (!IsWordToken(access, "Access"))
        return {};
    const bool readOnly = IsWordToken(kind, "Read") && !IsWordToken(statement.At(at + 4), "Write");
    const bool writeOnly = IsWordToken(kind, "Write");
    if ((IsWordToken(mode, "Input") && writeOnly) ||
        ((IsWordToken(mode, "Output") || IsWordToken(mode, "Append")) && readOnly))
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
    const bool subscripted = IsSymbolToken(next, "(") && !next->spaceBefore;
    const bool qualified = IsSymbolToken(next, ".") && !next->spaceBefore;
    const VBValueType suffix = name->escaped ? VBValueType::Unknown : TypeOfSuffix(name->text.back());
    // Most names are none of these: looked up only when they are.
    if (!subscripted && !qualified && suffix == VBValueType::Unknown)
        return {};
    // Members, and the names after As, New, AddressOf and Is, are no variables.
    const VBToken* before = name > statement.begin ? name - 1 : nullptr;
    if (IsSymbolToken(before, ".") || IsSymbolToken(before, "!") || IsWordToken(before, "As") ||
        IsWordToken(before, "New") || IsWordToken(before, "AddressOf") || IsWordToken(before, "Is"))
        return {};
    const VBDeclaredName* declared = Known(name);
    if (!declared)
        return {};
    // A suffix is the name's only where nothing sticks to it: n&"x" may be read otherwise.
    if (suffix != VBValueType::Unknown && IsScalar(declared->type) && suffix != declared->type &&
        (!next || next->spaceBefore || IsSymbolToken(next, ")") || IsSymbolToken(next, ",")))
        return Told(kSuffixMismatch, name);
    if (declared->constant)
        return {};
    const bool scalar = declared->dimensions == VBDeclaredName::kNotArray && IsScalar(declared->type);
    if (subscripted && scalar) {
        // n(1) as a statement of its own is a call; only an assignment to it is judged.
        const VBToken* close = FindOutsideParentheses(next + 1, statement.end, ")");
        if (name != statement.begin || (close + 1 < statement.end && IsSymbolToken(close + 1, "=")))
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
