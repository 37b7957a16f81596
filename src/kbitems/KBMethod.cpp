#include "kbitems/KBMethod.h"

#include <utility>

#include "common/Placeholder.h"
#include "kbitems/VBUtility.h"
#include "log/Log.h"

namespace {

constexpr std::string_view kMethodRegisterLine =
    "  Registrar.AddMethod ITEM_00001, \"ITEM_00002\", ITEM_00003, \"ITEM_00004\", \"ITEM_00005\",ITEM_00006, ITEM_00007, ITEM_00008\n\n";

// The ID parameter is named iRuleID here too, as in RunRule.
constexpr std::string_view kMethodDeclaration =
    "Private Function PXQDataService_RunMethod(ByVal iRuleID As Long, ByVal MethodName As String, ByVal Object As DUZIVozoz.IPXQObject, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n";

constexpr std::string_view kMethodValueResult = "    PXQDataService_RunMethod =";
constexpr std::string_view kMethodObjectResult = "    Set PXQDataService_RunMethod =";
// A routine that never assigns its result is called for its effect alone.
constexpr std::string_view kMethodNoResult =
    "    set PXQDataService_RunMethod = Nothing\n"
    "    Call ";
constexpr std::string_view kMethodCall = " ITEM_00001(Object ITEM_00002)\n";

constexpr std::string_view kMethodIdParameter = "iRuleID";
constexpr std::string_view kMethodKindWord = "Method";

// The routine's first parameter receives the object by name.
constexpr int kMethodSkipCount = 0;

}  // namespace

CKBMethod::CKBMethod(std::string name, std::string displayname, std::string extratext,
                     std::string code, bool interactive, bool secure, bool casefixed,
                     std::vector<std::string> Classlist)
    : name(std::move(name)), displayname(std::move(displayname)), extratext(std::move(extratext)),
      interactive(interactive), secure(secure), casefixed(casefixed),
      resultstyle(FindResultStyle(this->name, code)), code(std::move(code)),
      Classlist(std::move(Classlist))
{
}

void CKBMethod::GenerateRegisterCode(int itemId, CGrowingText& registerText)
{
    CVBUtility::MakeArrayBlock(ArrayName(), kQuotedElementTemplate, Classlist, registerText);
    registerText += kMethodRegisterLine;
    FillPlaceholder(registerText, "ITEM_00001", std::to_string(itemId));
    FillPlaceholder(registerText, "ITEM_00002", name);
    FillPlaceholder(registerText, "ITEM_00003", ArrayName());
    FillPlaceholder(registerText, "ITEM_00004", displayname);
    FillPlaceholder(registerText, "ITEM_00005", extratext);
    FillPlaceholder(registerText, "ITEM_00006", TruthWord(interactive));
    FillPlaceholder(registerText, "ITEM_00007", TruthWord(secure));
    FillPlaceholder(registerText, "ITEM_00008", TruthWord(casefixed));
    log->LogRegisterCode(kMethodKindWord, name);
}

void CKBMethod::GenerateComEntryCode(CGrowingText& handlerText, std::string_view branchMarker,
                                     int itemId)
{
    if (!AppendBranch(handlerText, branchMarker, kMethodDeclaration, BranchBody(),
                      kFunctionClosing))
        return;
    std::string arguments;
    CVBUtility::MakeArgumentList(code, arguments, kMethodSkipCount, kArgumentTemplate);
    FillPlaceholder(handlerText, "ITEM_00003", kMethodIdParameter);
    FillPlaceholder(handlerText, "ITEM_00004", std::to_string(itemId));
    FillPlaceholder(handlerText, "ITEM_00001", RoutineName());
    FillPlaceholder(handlerText, "ITEM_00002", arguments);
    log->LogComEntryCode(kMethodKindWord, name);
}

// Several classes may define a Method of the same name; the class suffix keeps one routine each.
void CKBMethod::GenerateImplementCode(std::string& outputText)
{
    outputText = code;
    CVBUtility::RenameRoutine(outputText, name, RoutineName());
    log->LogImplementCode(kMethodKindWord, name);
}

void CKBMethod::RoutineParts(const PartTaker& take) const
{
    std::string text = code;
    CVBUtility::RenameRoutine(text, name, RoutineName());
    take(0, text);
}

std::vector<std::string> CKBMethod::CalledRoutines() const
{
    return {RoutineName()};
}

void CKBMethod::FindCodeFaults(std::vector<std::string>& faults) const
{
    FindRoutineFaults(kCodeWord, code, name, RoutineName(), faults);
}

std::string CKBMethod::BranchBody() const
{
    std::string body;
    switch (resultstyle) {
    case ResultStyle::Value: body = kMethodValueResult; break;
    case ResultStyle::Object: body = kMethodObjectResult; break;
    case ResultStyle::None: body = kMethodNoResult; break;
    }
    return body + std::string(kMethodCall);
}

std::string CKBMethod::ArrayName() const
{
    return "array_" + name + FirstClass(Classlist);
}

std::string CKBMethod::RoutineName() const
{
    return name + "_" + FirstClass(Classlist);
}
