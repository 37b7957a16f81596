#include "kbitems/KBRule.h"

#include <utility>

#include "common/Placeholder.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"

namespace {

constexpr std::string_view kRuleRegisterLine =
    "  Registrar.AddRule ITEM_00001, \"ITEM_00002\", \"ITEM_00003\", \"ITEM_00004\",ITEM_00005, ITEM_00006, ITEM_00007\n\n";

constexpr std::string_view kRuleDeclaration =
    "Private Function PXQDataService_RunRule(ByVal iRuleID As Long, ByVal RuleName As String, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n";

constexpr std::string_view kRuleValueResult = "    PXQDataService_RunRule =";
constexpr std::string_view kRuleObjectResult = "    Set PXQDataService_RunRule =";
// A routine that never assigns its result is called for its effect alone.
constexpr std::string_view kRuleNoResult =
    "    set PXQDataService_RunRule = Nothing\n"
    "    Call ";
constexpr std::string_view kRuleCall = " ITEM_00001(ITEM_00002)\n";

constexpr std::string_view kRuleIdParameter = "iRuleID";
constexpr std::string_view kRuleKindWord = "Rule";

// Every parameter, the first included, comes from the argument array.
constexpr int kRuleSkipCount = -1;

}  // namespace

CKBRule::CKBRule(std::string name, std::string displayname, std::string extratext,
                 std::string code, bool interactive, bool secure, bool casefixed)
    : name(std::move(name)), displayname(std::move(displayname)), extratext(std::move(extratext)),
      interactive(interactive), secure(secure), casefixed(casefixed), code(std::move(code)),
      resultstyle(FindResultStyle(this->name, this->code))
{
}

void CKBRule::GenerateRegisterCode(int itemId, CGrowingText& registerText)
{
    registerText += kRuleRegisterLine;
    FillPlaceholder(registerText, "ITEM_00001", std::to_string(itemId));
    FillPlaceholder(registerText, "ITEM_00002", name);
    FillPlaceholder(registerText, "ITEM_00003", displayname);
    FillPlaceholder(registerText, "ITEM_00004", extratext);
    FillPlaceholder(registerText, "ITEM_00005", TruthWord(interactive));
    FillPlaceholder(registerText, "ITEM_00006", TruthWord(secure));
    FillPlaceholder(registerText, "ITEM_00007", TruthWord(casefixed));
    log->LogRegisterCode(kRuleKindWord, name);
}

void CKBRule::GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                                   int itemId)
{
    if (!AppendBranch(handlerText, branchMarker, kRuleDeclaration, BranchBody(), kFunctionClosing))
        return;
    std::string arguments;
    CVBUtility::MakeArgumentList(code, arguments, kRuleSkipCount, kArgumentTemplate);
    FillPlaceholder(handlerText, "ITEM_00003", kRuleIdParameter);
    FillPlaceholder(handlerText, "ITEM_00004", std::to_string(itemId));
    FillPlaceholder(handlerText, "ITEM_00001", name);
    FillPlaceholder(handlerText, "ITEM_00002", arguments);
    log->LogComEntryCode(kRuleKindWord, name);
}

void CKBRule::GenerateImplementCode(std::string& outputText)
{
    outputText = code;
    log->LogImplementCode(kRuleKindWord, name);
}

void CKBRule::RoutineParts(const PartTaker& take) const
{
    take(0, code);
}

std::vector<std::string> CKBRule::CalledRoutines() const
{
    return {name};
}

void CKBRule::FindCodeFaults(std::vector<std::string>& faults) const
{
    FindRoutineFaults(kCodeWord, code, name, name, faults);
}

std::string CKBRule::BranchBody() const
{
    std::string body;
    switch (resultstyle) {
    case ResultStyle::Value: body = kRuleValueResult; break;
    case ResultStyle::Object: body = kRuleObjectResult; break;
    case ResultStyle::None: body = kRuleNoResult; break;
    }
    return body + std::string(kRuleCall);
}
