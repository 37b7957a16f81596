#include "kbitems/KBDemon.h"

#include <utility>

#include "common/MessageText.h"
#include "common/Placeholder.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"

namespace {

constexpr std::string_view kDemonRegisterLine =
    "  Registrar.AddDemon ITEM_00001, \"ITEM_00002\", ITEM_00003, ITEM_00004, ITEM_00005\n\n";

constexpr std::string_view kPatternDeclaration =
    "Private Sub PXQDataService_RunDemonPattern(ByVal iDemonID As Long, ByVal DemonName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal pDemon As DUZIVozoz.IPXQDemonControl, ByVal Globals As DUZIVozoz.IPXQGlobals)\n";
constexpr std::string_view kActionDeclaration =
    "Private Sub PXQDataService_RunDemonAction(ByVal iDemonID As Long, ByVal DemonName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal pDemon As DUZIVozoz.IPXQDemonControl, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals)\n";

// The same call for both procedures; the space after pDemon stands before ")" or the first comma.
constexpr std::string_view kDemonCallLine = "    Call ITEM_00001(Object, pDemon ITEM_00002)\n";

constexpr std::string_view kDemonIdParameter = "iDemonID";
constexpr std::string_view kDemonKindWord = "Demon";

constexpr std::string_view kPatternCodeWord = "PatternCode";
constexpr std::string_view kActionCodeWord = "ActionCode";
constexpr std::string_view kNoDemonPart = "has no {part}; the dispatch calls '{routine}'";

// The object and the demon control are passed by name; only later parameters map to Args.
constexpr int kDemonSkipCount = 1;

std::string ArgumentList(const std::string& code)
{
    std::string arguments;
    CVBUtility::MakeArgumentList(code, arguments, kDemonSkipCount, CKBItem::kArgumentTemplate);
    return arguments;
}

}  // namespace

CKBDemon::CKBDemon(std::string name, std::vector<std::string> Classlist, bool extraflag,
                   bool casefixed, std::string PatternCode, std::string ActionCode)
    : name(std::move(name)),
      Classlist(std::move(Classlist)),
      extraflag(extraflag),
      casefixed(casefixed),
      PatternCode(std::move(PatternCode)),
      ActionCode(std::move(ActionCode))
{
}

void CKBDemon::GenerateRegisterCode(int itemId, CGrowingText& registerText)
{
    CVBUtility::MakeArrayBlock(ArrayName(), kQuotedElementTemplate, Classlist, registerText);
    registerText += kDemonRegisterLine;
    FillPlaceholder(registerText, "ITEM_00001", std::to_string(itemId));
    FillPlaceholder(registerText, "ITEM_00002", name);
    FillPlaceholder(registerText, "ITEM_00003", ArrayName());
    FillPlaceholder(registerText, "ITEM_00004", TruthWord(extraflag));
    FillPlaceholder(registerText, "ITEM_00005", TruthWord(casefixed));
    log->LogRegisterCode(kDemonKindWord, name);
}

void CKBDemon::GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                                    int itemId)
{
    if (branchMarker == kEndBranch) {
        CloseDispatch(handlerText);
        return;
    }
    const bool opened =
        AppendBranch(patternText, branchMarker, kPatternDeclaration, kDemonCallLine, kSubClosing);
    AppendBranch(actionText, branchMarker, kActionDeclaration, kDemonCallLine, kSubClosing);
    if (!opened)
        return;
    FillPlaceholder(patternText, "ITEM_00003", kDemonIdParameter);
    FillPlaceholder(actionText, "ITEM_00003", kDemonIdParameter);
    FillPlaceholder(patternText, "ITEM_00004", std::to_string(itemId));
    FillPlaceholder(actionText, "ITEM_00004", std::to_string(itemId));
    FillPlaceholder(patternText, "ITEM_00002", ArgumentList(PatternCode));
    FillPlaceholder(actionText, "ITEM_00002", ArgumentList(ActionCode));
    FillPlaceholder(actionText, "ITEM_00001", InProject(ActionRoutineAsWritten()));
    FillPlaceholder(patternText, "ITEM_00001", InProject(PatternRoutineAsWritten()));
    log->LogComEntryCode(kDemonKindWord, name);
}

void CKBDemon::GenerateImplementCode(std::string& outputText)
{
    outputText.clear();
    RoutineParts([&](size_t, std::string_view part) { outputText += part; });
    log->LogImplementCode(kDemonKindWord, name);
}

// Renames copies: the code stays as read, so that it can be checked while the project is written.
void CKBDemon::RoutineParts(const PartTaker& take) const
{
    std::string pattern = PatternCode;
    CVBUtility::RenameRoutine(pattern, PatternRoutineAsWritten(), InProject(PatternRoutineAsWritten()));
    take(0, pattern);
    std::string action = ActionCode;
    CVBUtility::RenameRoutine(action, ActionRoutineAsWritten(), InProject(ActionRoutineAsWritten()));
    take(1, action);
}

std::vector<std::string> CKBDemon::CalledRoutines() const
{
    return {InProject(PatternRoutineAsWritten()), InProject(ActionRoutineAsWritten())};
}

// Without PatternCode or ActionCode the dispatch still calls the routine that code would hold.
void CKBDemon::FindCodeFaults(std::vector<std::string>& faults) const
{
    const struct {
        std::string_view part;
        const std::string& code;
        std::string routine;
    } parts[] = {{kPatternCodeWord, PatternCode, PatternRoutineAsWritten()},
                 {kActionCodeWord, ActionCode, ActionRoutineAsWritten()}};
    for (const auto& p : parts) {
        if (p.code.empty())
            faults.push_back(MessageText(kNoDemonPart, {{"part", p.part}, {"routine", InProject(p.routine)}}));
        else
            FindRoutineFaults(p.part, p.code, p.routine, InProject(p.routine), faults);
    }
}

void CKBDemon::CloseDispatch(CGrowingText& handlerText)
{
    AppendBranch(patternText, kEndBranch, {}, {}, kSubClosing);
    AppendBranch(actionText, kEndBranch, {}, {}, kSubClosing);
    handlerText += patternText.Text();
    handlerText += actionText.Text();
    patternText.Clear();
    actionText.Clear();
}

std::string CKBDemon::ArrayName() const
{
    return "array_" + name + FirstClass(Classlist);
}

// The rule file's routine names carry the word twice.
std::string CKBDemon::PatternRoutineAsWritten() const
{
    return name + "PatternPattern";
}

std::string CKBDemon::ActionRoutineAsWritten() const
{
    return name + "ActionAction";
}

std::string CKBDemon::InProject(const std::string& routineAsWritten) const
{
    return routineAsWritten + "_" + FirstClass(Classlist);
}
