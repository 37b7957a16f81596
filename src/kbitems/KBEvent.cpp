#include "kbitems/KBEvent.h"

#include <utility>

#include "common/Placeholder.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"

namespace {

constexpr std::string_view kEventRegisterLine =
    "  Registrar.AddEventSink ITEM_00001, EPXQSystemEventIDs.pxqSystemEventITEM_00002, ITEM_00003, ITEM_00004\n\n";

constexpr std::string_view kEventDeclaration =
    "Private Sub PXQDataService_NotifyEventSink(ByVal SinkID As Long, ByVal Object As DUZIVozoz.IPXQObject, ByVal SinkData As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals)\n";
// Every sink gets the same two arguments, whatever its own parameter list.
constexpr std::string_view kEventCallLine = "    Call ITEM_00001(Object, SinkData)\n";

constexpr std::string_view kEventIdParameter = "SinkID";
// Event log lines show the kind word in place of the item's name as well.
constexpr std::string_view kEventKindWord = "Event";

}  // namespace

CKBEvent::CKBEvent(std::string name, std::vector<std::string> Classlist, bool extraflag,
                   std::string code)
    : name(std::move(name)), Classlist(std::move(Classlist)), extraflag(extraflag),
      code(std::move(code))
{
}

// Compared as joined texts, so "a_b" in class "c" matches "a" in class "b_c".
bool CKBEvent::IsSameItem(const CKBItem& other) const
{
    const auto* otherEvent = dynamic_cast<const CKBEvent*>(&other);
    return otherEvent != nullptr && RoutineName() == otherEvent->RoutineName();
}

std::string CKBEvent::ReplacementKey() const
{
    return RoutineName();
}

void CKBEvent::GenerateRegisterCode(int itemId, CGrowingText& registerText)
{
    CVBUtility::MakeArrayBlock(ArrayName(), kQuotedElementTemplate, Classlist, registerText);
    registerText += kEventRegisterLine;
    FillPlaceholder(registerText, "ITEM_00001", std::to_string(itemId));
    FillPlaceholder(registerText, "ITEM_00002", name);
    FillPlaceholder(registerText, "ITEM_00003", ArrayName());
    FillPlaceholder(registerText, "ITEM_00004", TruthWord(extraflag));
    log->LogRegisterCode(kEventKindWord, kEventKindWord);
}

void CKBEvent::GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                                    int itemId)
{
    if (!AppendBranch(handlerText, branchMarker, kEventDeclaration, kEventCallLine, kSubClosing))
        return;
    FillPlaceholder(handlerText, "ITEM_00003", kEventIdParameter);
    FillPlaceholder(handlerText, "ITEM_00004", std::to_string(itemId));
    FillPlaceholder(handlerText, "ITEM_00001", RoutineName());
    log->LogComEntryCode(kEventKindWord, kEventKindWord);
}

void CKBEvent::GenerateImplementCode(std::string& outputText)
{
    outputText = code;
    CVBUtility::RenameRoutine(outputText, name, RoutineName());
    log->LogImplementCode(kEventKindWord, kEventKindWord);
}

void CKBEvent::RoutineParts(const PartTaker& take) const
{
    std::string text = code;
    CVBUtility::RenameRoutine(text, name, RoutineName());
    take(0, text);
}

std::vector<std::string> CKBEvent::CalledRoutines() const
{
    return {RoutineName()};
}

void CKBEvent::FindCodeFaults(std::vector<std::string>& faults) const
{
    FindRoutineFaults(kCodeWord, code, name, RoutineName(), faults);
}

std::string CKBEvent::ArrayName() const
{
    return "array_" + name + FirstClass(Classlist);
}

std::string CKBEvent::RoutineName() const
{
    return name + "_" + FirstClass(Classlist);
}
