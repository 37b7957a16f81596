#include <string_view>

#include "log/Log.h"

// The empty handler procedures written for the kinds that had no items, so that the service
// class implements every procedure of the host's interface.
namespace {

constexpr std::string_view kRunMethodStub =
    "Private Function PXQDataService_RunMethod(ByVal iRuleID As Long, ByVal MethodName As String, ByVal Object As DUZIVozoz.IPXQObject, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n"
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n"
    "End Function\n"
    "\n";

constexpr std::string_view kRunDemonActionStub =
    "Private Sub PXQDataService_RunDemonAction(ByVal iDemonID As Long, ByVal DemonName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal pDemon As DUZIVozoz.IPXQDemonControl, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals)\n"
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n"
    "End Sub\n"
    "\n";

constexpr std::string_view kRunDemonPatternStub =
    "Private Sub PXQDataService_RunDemonPattern(ByVal iDemonID As Long, ByVal DemonName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal pDemon As DUZIVozoz.IPXQDemonControl, ByVal Globals As DUZIVozoz.IPXQGlobals)\n"
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n"
    "End Sub\n"
    "\n";

constexpr std::string_view kFilterObjectStub =
    "Private Function PXQDataService_FilterObject(ByVal iFilterID As Long, ByVal FilterName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal Globals As DUZIVozoz.IPXQGlobals) As Boolean\n"
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n"
    "End Function\n"
    "\n";

constexpr std::string_view kRunRuleStub =
    "Private Function PXQDataService_RunRule(ByVal iRuleID As Long, ByVal RuleName As String, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n"
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n"
    "End Function\n"
    "\n";

constexpr std::string_view kNotifyEventSinkStub =
    "Private Sub PXQDataService_NotifyEventSink(ByVal SinkID As Long, ByVal Object As DUZIVozoz.IPXQObject, ByVal SinkData As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals)\n"
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n"
    "End Sub\n"
    "\n";

constexpr std::string_view kGetSortValuesStub =
    "Private Function PXQDataService_GetSortValues(ByVal iSortID As Long, ByVal SortName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n"
    "  Set GlobalCode.ClassStore = Globals.ClassStore\n"
    "  Set GlobalCode.Server = Globals\n"
    "  Set GlobalCode.ObjectStore = Globals.ObjectStore\n"
    "\n"
    "End Function\n"
    "\n";

}  // namespace

void CLog::AppendHandlerStubs(std::string& text) const
{
    if (!hasMethod)
        text += kRunMethodStub;
    if (!hasDemon) {
        text += kRunDemonActionStub;
        text += kRunDemonPatternStub;
    }
    if (!hasFilter)
        text += kFilterObjectStub;
    if (!hasRule)
        text += kRunRuleStub;
    if (!hasEvent)
        text += kNotifyEventSinkStub;
    if (!hasSort)
        text += kGetSortValuesStub;
}
