#include "kbitems/KBSort.h"

#include <utility>

#include "common/Placeholder.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"

namespace {

// The key values stand bare: each must already be a VB expression.
constexpr std::string_view kBareElementTemplate = "  ITEM_00001(ITEM_00002) = ITEM_00003\n";
constexpr std::string_view kSortRegisterLine =
    "  Registrar.AddSort ITEM_00001, \"ITEM_00002\", \"ITEM_00003\", \"ITEM_00004\", ITEM_00005\n\n";

constexpr std::string_view kSortDeclaration =
    "Private Function PXQDataService_GetSortValues(ByVal iSortID As Long, ByVal SortName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n";
constexpr std::string_view kSortArrayLine = "  Dim ITEM_00001(ITEM_00002) As Variant\n";
constexpr std::string_view kSortCallLines =
    "    Call ITEM_00006(Object ITEM_00007)\n"
    "    PXQDataService_GetSortValues = ITEM_00008\n";

constexpr std::string_view kSortIdParameter = "iSortID";
constexpr std::string_view kSortKindWord = "Sort";

// The routine's first parameter receives the object by name.
constexpr int kSortSkipCount = 0;

}  // namespace

CKBSort::CKBSort(std::string name, std::string displayname, std::string extratext,
                 std::string code, std::vector<std::string> KeyList)
    : name(std::move(name)), displayname(std::move(displayname)), extratext(std::move(extratext)),
      code(std::move(code)), KeyList(std::move(KeyList))
{
}

void CKBSort::GenerateRegisterCode(int itemId, CGrowingText& registerText)
{
    CVBUtility::MakeArrayBlock(ArrayName(), kBareElementTemplate, KeyList, registerText);
    registerText += kSortRegisterLine;
    FillPlaceholder(registerText, "ITEM_00001", std::to_string(itemId));
    FillPlaceholder(registerText, "ITEM_00002", name);
    FillPlaceholder(registerText, "ITEM_00003", displayname);
    FillPlaceholder(registerText, "ITEM_00004", extratext);
    FillPlaceholder(registerText, "ITEM_00005", ArrayName());
    log->LogRegisterCode(kSortKindWord, name);
}

void CKBSort::GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                                   int itemId)
{
    const std::string body = std::string(kSortArrayLine) + std::string(kSortCallLines);
    if (!AppendBranch(handlerText, branchMarker, kSortDeclaration, body, kFunctionClosing))
        return;
    // The routine's value parameters are the slots of the Sort's own array.
    std::string argumentTemplate(kArgumentTemplate);
    FillPlaceholder(argumentTemplate, "Args", ArrayName());
    std::string arguments;
    CVBUtility::MakeArgumentList(code, arguments, kSortSkipCount, argumentTemplate);
    FillPlaceholder(handlerText, "ITEM_00003", kSortIdParameter);
    FillPlaceholder(handlerText, "ITEM_00004", std::to_string(itemId));
    FillPlaceholder(handlerText, "ITEM_00002", std::to_string(KeyList.size()));
    FillPlaceholder(handlerText, "ITEM_00001", ArrayName());
    FillPlaceholder(handlerText, "ITEM_00006", name);
    FillPlaceholder(handlerText, "ITEM_00007", arguments);
    FillPlaceholder(handlerText, "ITEM_00008", ArrayName());
    log->LogComEntryCode(kSortKindWord, name);
}

void CKBSort::GenerateImplementCode(std::string& outputText)
{
    outputText = code;
    log->LogImplementCode(kSortKindWord, name);
}

void CKBSort::RoutineParts(const PartTaker& take) const
{
    take(0, code);
}

std::vector<std::string> CKBSort::CalledRoutines() const
{
    return {name};
}

void CKBSort::FindCodeFaults(std::vector<std::string>& faults) const
{
    FindRoutineFaults(kCodeWord, code, name, name, faults);
}

std::string CKBSort::ArrayName() const
{
    return "array_" + name;
}
