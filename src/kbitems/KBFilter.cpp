#include "kbitems/KBFilter.h"

#include <utility>

#include "common/Placeholder.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"

namespace {

constexpr std::string_view kFilterRegisterLine =
    "  Registrar.AddFilter ITEM_00001, \"ITEM_00002\", ITEM_00003, \"ITEM_00004\", \"ITEM_00005\"\n\n";

constexpr std::string_view kFilterDeclaration =
    "Private Function PXQDataService_FilterObject(ByVal iFilterID As Long, ByVal FilterName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal Globals As DUZIVozoz.IPXQGlobals) As Boolean\n";
constexpr std::string_view kFilterCallLine = "    PXQDataService_FilterObject = ITEM_00001(Object)\n";
// The space before the line end is part of the output.
constexpr std::string_view kFilterAcceptLine = "    PXQDataService_FilterObject = true \n";

constexpr std::string_view kFilterIdParameter = "iFilterID";
constexpr std::string_view kFilterKindWord = "Filter";

}  // namespace

// Only an empty code means "no code": white space still names a routine to call.
CKBFilter::CKBFilter(std::string name, std::string displayname, std::string extratext,
                     std::string code, std::vector<std::string> Classlist)
    : name(std::move(name)), displayname(std::move(displayname)), extratext(std::move(extratext)),
      code(std::move(code)), nocode(this->code.empty()), Classlist(std::move(Classlist))
{
}

void CKBFilter::GenerateRegisterCode(int itemId, CGrowingText& registerText)
{
    CVBUtility::MakeArrayBlock(ArrayName(), kQuotedElementTemplate, Classlist, registerText);
    registerText += kFilterRegisterLine;
    FillPlaceholder(registerText, "ITEM_00001", std::to_string(itemId));
    FillPlaceholder(registerText, "ITEM_00002", name);
    FillPlaceholder(registerText, "ITEM_00003", ArrayName());
    FillPlaceholder(registerText, "ITEM_00004", displayname);
    FillPlaceholder(registerText, "ITEM_00005", extratext);
    log->LogRegisterCode(kFilterKindWord, name);
}

void CKBFilter::GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                                     int itemId)
{
    const std::string_view body = nocode ? kFilterAcceptLine : kFilterCallLine;
    if (!AppendBranch(handlerText, branchMarker, kFilterDeclaration, body, kFunctionClosing))
        return;
    FillPlaceholder(handlerText, "ITEM_00003", kFilterIdParameter);
    FillPlaceholder(handlerText, "ITEM_00004", std::to_string(itemId));
    FillPlaceholder(handlerText, "ITEM_00001", name);
    log->LogComEntryCode(kFilterKindWord, name);
}

void CKBFilter::GenerateImplementCode(std::string& outputText)
{
    if (nocode)
        return;
    outputText = code;
    log->LogImplementCode(kFilterKindWord, name);
}

void CKBFilter::RoutineParts(const PartTaker& take) const
{
    if (!nocode)
        take(0, code);
}

std::vector<std::string> CKBFilter::CalledRoutines() const
{
    if (nocode)
        return {};
    return {name};
}

// A Filter without code calls no routine.
void CKBFilter::FindCodeFaults(std::vector<std::string>& faults) const
{
    if (!nocode)
        FindRoutineFaults(kCodeWord, code, name, name, faults);
}

std::string CKBFilter::ArrayName() const
{
    return "array_" + name;
}
