#include <memory>
#include <string>
#include <vector>

#include "KBItemsFixture.h"
#include "kbitems/KBEvent.h"
#include "kbitems/KBFilter.h"
#include "kbitems/KBMethod.h"
#include "kbitems/KBRule.h"
#include "kbitems/KBSort.h"

namespace {

constexpr char kEventDeclaration[] =
    "Private Sub PXQDataService_NotifyEventSink(ByVal SinkID As Long, ByVal Object As DUZIVozoz.IPXQObject, ByVal SinkData As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals)\n";
constexpr char kFilterDeclaration[] =
    "Private Function PXQDataService_FilterObject(ByVal iFilterID As Long, ByVal FilterName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal Globals As DUZIVozoz.IPXQGlobals) As Boolean\n";
constexpr char kMethodDeclaration[] =
    "Private Function PXQDataService_RunMethod(ByVal iRuleID As Long, ByVal MethodName As String, ByVal Object As DUZIVozoz.IPXQObject, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n";
constexpr char kRuleDeclaration[] =
    "Private Function PXQDataService_RunRule(ByVal iRuleID As Long, ByVal RuleName As String, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n";
constexpr char kSortDeclaration[] =
    "Private Function PXQDataService_GetSortValues(ByVal iSortID As Long, ByVal SortName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal Globals As DUZIVozoz.IPXQGlobals) As Variant\n";

using KBItemsKindsTest = KBItemsTest;

TEST_F(KBItemsKindsTest, EventCallsItsClassSuffixedRoutine)
{
    const std::string sink = "Sub Changed(Obj, Data)\n  Call Refresh(Obj)\nEnd Sub\n";
    CKBEvent changed("Changed", {"Pump", "Valve"}, false, sink);
    const GeneratedCode one = GenerateKind({&changed});
    EXPECT_EQ(one.registerText,
              "  Dim array_ChangedPump(2) As Variant\n"
              "  array_ChangedPump(0) = \"Pump\"\n"
              "  array_ChangedPump(1) = \"Valve\"\n"
              "  Registrar.AddEventSink 1, EPXQSystemEventIDs.pxqSystemEventChanged, array_ChangedPump, false\n"
              "\n");
    EXPECT_EQ(one.handlerText, std::string(kEventDeclaration) + kHeadLines +
                                   "  If SinkID = 1 Then\n"
                                   "    Call Changed_Pump(Object, SinkData)\n"
                                   "  End If\n"
                                   "End Sub\n"
                                   "\n");
    EXPECT_EQ(one.routineText, "Sub Changed_Pump(Obj, Data)\n  Call Refresh(Obj)\nEnd Sub\n");
    EXPECT_EQ(changed.code, sink);

    CKBEvent created("Created", {"Tank"}, true, "Sub Created(Obj)\nEnd Sub\n");
    const GeneratedCode three = GenerateKind({&changed, &created, &changed});
    EXPECT_EQ(three.registerText,
              one.registerText +
                  "  Dim array_CreatedTank(1) As Variant\n"
                  "  array_CreatedTank(0) = \"Tank\"\n"
                  "  Registrar.AddEventSink 2, EPXQSystemEventIDs.pxqSystemEventCreated, array_CreatedTank, true\n"
                  "\n"
                  "  Dim array_ChangedPump(2) As Variant\n"
                  "  array_ChangedPump(0) = \"Pump\"\n"
                  "  array_ChangedPump(1) = \"Valve\"\n"
                  "  Registrar.AddEventSink 3, EPXQSystemEventIDs.pxqSystemEventChanged, array_ChangedPump, false\n"
                  "\n");
    EXPECT_EQ(three.handlerText, std::string(kEventDeclaration) + kHeadLines +
                                     "  If SinkID = 1 Then\n"
                                     "    Call Changed_Pump(Object, SinkData)\n"
                                     "  Elseif SinkID = 2 then\n"
                                     "    Call Created_Tank(Object, SinkData)\n"
                                     "  Elseif SinkID = 3 then\n"
                                     "    Call Changed_Pump(Object, SinkData)\n"
                                     "  End If\n"
                                     "End Sub\n"
                                     "\n");
}

TEST_F(KBItemsKindsTest, EventsMatchByJoinedNameAndFirstClass)
{
    struct Case {
        const char* behaviour;
        CKBEvent a;
        CKBEvent b;
        bool same;
    };
    const std::vector<Case> cases = {
        {"same name and class", {"Changed", {"Pump"}, false, "x"}, {"Changed", {"Pump"}, false, "y"}, true},
        {"later classes do not count", {"Changed", {"Pump", "A"}, false, ""}, {"Changed", {"Pump", "B"}, false, ""}, true},
        {"the joined texts are compared", {"a_b", {"c"}, false, ""}, {"a", {"b_c"}, false, ""}, true},
        {"other class", {"Changed", {"Pump"}, false, ""}, {"Changed", {"Tank"}, false, ""}, false},
        {"case counts", {"Changed", {"Pump"}, false, ""}, {"changed", {"Pump"}, false, ""}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.a.IsSameItem(c.b), c.same) << c.behaviour;

    const CKBEvent event("Calc", {"Pump"}, false, "");
    const CKBMethod method("Calc", "", "", "", false, false, false, {"Pump"});
    EXPECT_FALSE(event.IsSameItem(method));
    EXPECT_FALSE(method.IsSameItem(CKBMethod(method)));
}

TEST_F(KBItemsKindsTest, FilterWithoutCodeAcceptsEveryObject)
{
    const std::string isHot = "Function IsHot(Obj)\n  IsHot = Obj.Temp > 90\nEnd Function\n";
    CKBFilter hot("IsHot", "Hot ones", "", isHot, {"Pump"});
    const GeneratedCode one = GenerateKind({&hot});
    EXPECT_EQ(one.registerText,
              "  Dim array_IsHot(1) As Variant\n"
              "  array_IsHot(0) = \"Pump\"\n"
              "  Registrar.AddFilter 1, \"IsHot\", array_IsHot, \"Hot ones\", \"\"\n"
              "\n");
    EXPECT_EQ(one.handlerText, std::string(kFilterDeclaration) + kHeadLines +
                                   "  If iFilterID = 1 Then\n"
                                   "    PXQDataService_FilterObject = IsHot(Object)\n"
                                   "  End If\n"
                                   "End Function\n"
                                   "\n");
    EXPECT_EQ(one.routineText, isHot);

    CKBFilter all("All", "Every one", "", "", {});
    // White space is code: the routine is called by name.
    CKBFilter blank("Blank", "Blank", "x", " \n", {});
    const GeneratedCode three = GenerateKind({&hot, &all, &blank});
    EXPECT_EQ(three.registerText,
              one.registerText +
                  "  Dim array_All(0) As Variant\n"
                  "  Registrar.AddFilter 2, \"All\", array_All, \"Every one\", \"\"\n"
                  "\n"
                  "  Dim array_Blank(0) As Variant\n"
                  "  Registrar.AddFilter 3, \"Blank\", array_Blank, \"Blank\", \"x\"\n"
                  "\n");
    EXPECT_EQ(three.handlerText, std::string(kFilterDeclaration) + kHeadLines +
                                     "  If iFilterID = 1 Then\n"
                                     "    PXQDataService_FilterObject = IsHot(Object)\n"
                                     "  Elseif iFilterID = 2 then\n"
                                     "    PXQDataService_FilterObject = true \n"
                                     "  Elseif iFilterID = 3 then\n"
                                     "    PXQDataService_FilterObject = Blank(Object)\n"
                                     "  End If\n"
                                     "End Function\n"
                                     "\n");
    EXPECT_EQ(three.routineText, isHot + " \n");
}

TEST_F(KBItemsKindsTest, MethodBranchFollowsResultStyle)
{
    CKBMethod open("Open", "Open valve", "", "Function Open(Obj)\n  Set Open = Obj\nEnd Function\n",
                   true, false, true, {"Valve"});
    const GeneratedCode one = GenerateKind({&open});
    EXPECT_EQ(one.registerText,
              "  Dim array_OpenValve(1) As Variant\n"
              "  array_OpenValve(0) = \"Valve\"\n"
              "  Registrar.AddMethod 1, \"Open\", array_OpenValve, \"Open valve\", \"\",true, false, true\n"
              "\n");
    EXPECT_EQ(one.handlerText, std::string(kMethodDeclaration) + kHeadLines +
                                   "  If iRuleID = 1 Then\n"
                                   "    Set PXQDataService_RunMethod = Open_Valve(Object )\n"
                                   "  End If\n"
                                   "End Function\n"
                                   "\n");
    EXPECT_EQ(one.routineText, "Function Open_Valve(Obj)\n  Set Open_Valve = Obj\nEnd Function\n");

    const std::string calc = "Function Calc(Obj, A, B)\n  Calc = A + B\nEnd Function\n";
    CKBMethod calcPump("Calc", "Calculate", "", calc, false, true, false, {"Pump", "Tank"});
    CKBMethod reset("Reset", "Reset", "", "Sub Reset(Obj, Level)\n  Obj.Level = Level\nEnd Sub\n",
                    false, false, false, {"Pump"});
    const GeneratedCode three = GenerateKind({&open, &calcPump, &reset});
    EXPECT_EQ(three.registerText,
              one.registerText +
                  "  Dim array_CalcPump(2) As Variant\n"
                  "  array_CalcPump(0) = \"Pump\"\n"
                  "  array_CalcPump(1) = \"Tank\"\n"
                  "  Registrar.AddMethod 2, \"Calc\", array_CalcPump, \"Calculate\", \"\",false, true, false\n"
                  "\n"
                  "  Dim array_ResetPump(1) As Variant\n"
                  "  array_ResetPump(0) = \"Pump\"\n"
                  "  Registrar.AddMethod 3, \"Reset\", array_ResetPump, \"Reset\", \"\",false, false, false\n"
                  "\n");
    EXPECT_EQ(three.handlerText, std::string(kMethodDeclaration) + kHeadLines +
                                     "  If iRuleID = 1 Then\n"
                                     "    Set PXQDataService_RunMethod = Open_Valve(Object )\n"
                                     "  Elseif iRuleID = 2 then\n"
                                     "    PXQDataService_RunMethod = Calc_Pump(Object ,Args(0),Args(1))\n"
                                     "  Elseif iRuleID = 3 then\n"
                                     "    set PXQDataService_RunMethod = Nothing\n"
                                     "    Call  Reset_Pump(Object ,Args(0))\n"
                                     "  End If\n"
                                     "End Function\n"
                                     "\n");
    EXPECT_EQ(three.routineText,
              one.routineText +
                  "Function Calc_Pump(Obj, A, B)\n  Calc_Pump = A + B\nEnd Function\n"
                  "Sub Reset_Pump(Obj, Level)\n  Obj.Level = Level\nEnd Sub\n");
    EXPECT_EQ(calcPump.code, calc);
}

TEST_F(KBItemsKindsTest, RulePassesEveryParameterFromArgs)
{
    const std::string limit = "Function Limit(A, B)\n  Limit = A < B\nEnd Function\n";
    CKBRule limitRule("Limit", "Check limits", "", limit, true, true, false);
    const GeneratedCode one = GenerateKind({&limitRule});
    EXPECT_EQ(one.registerText,
              "  Registrar.AddRule 1, \"Limit\", \"Check limits\", \"\",true, true, false\n"
              "\n");
    EXPECT_EQ(one.handlerText, std::string(kRuleDeclaration) + kHeadLines +
                                   "  If iRuleID = 1 Then\n"
                                   "    PXQDataService_RunRule = Limit(Args(0),Args(1))\n"
                                   "  End If\n"
                                   "End Function\n"
                                   "\n");
    EXPECT_EQ(one.routineText, limit);

    const std::string lookup = "Function Lookup()\n  Set Lookup = Nothing\nEnd Function\n";
    const std::string tick = "Sub Tick\n  Beep\nEnd Sub\n";
    CKBRule lookupRule("Lookup", "Find", "e", lookup, false, false, true);
    CKBRule tickRule("Tick", "Tick", "", tick, false, false, false);
    const GeneratedCode three = GenerateKind({&limitRule, &lookupRule, &tickRule});
    EXPECT_EQ(three.registerText,
              one.registerText +
                  "  Registrar.AddRule 2, \"Lookup\", \"Find\", \"e\",false, false, true\n"
                  "\n"
                  "  Registrar.AddRule 3, \"Tick\", \"Tick\", \"\",false, false, false\n"
                  "\n");
    // An empty parameter list and a missing one both pass one argument.
    EXPECT_EQ(three.handlerText, std::string(kRuleDeclaration) + kHeadLines +
                                     "  If iRuleID = 1 Then\n"
                                     "    PXQDataService_RunRule = Limit(Args(0),Args(1))\n"
                                     "  Elseif iRuleID = 2 then\n"
                                     "    Set PXQDataService_RunRule = Lookup(Args(0))\n"
                                     "  Elseif iRuleID = 3 then\n"
                                     "    set PXQDataService_RunRule = Nothing\n"
                                     "    Call  Tick(Args(0))\n"
                                     "  End If\n"
                                     "End Function\n"
                                     "\n");
    EXPECT_EQ(three.routineText, limit + lookup + tick);
}

TEST_F(KBItemsKindsTest, SortReturnsItsArray)
{
    const std::string byTemp = "Sub ByTemp(Obj, K1, K2)\n  K1 = Obj.Temp\nEnd Sub\n";
    CKBSort sort("ByTemp", "By temperature", "", byTemp, {"1", "-1"});
    const GeneratedCode one = GenerateKind({&sort});
    EXPECT_EQ(one.registerText,
              "  Dim array_ByTemp(2) As Variant\n"
              "  array_ByTemp(0) = 1\n"
              "  array_ByTemp(1) = -1\n"
              "  Registrar.AddSort 1, \"ByTemp\", \"By temperature\", \"\", array_ByTemp\n"
              "\n");
    const std::string byTempBranch =
        "  Dim array_ByTemp(2) As Variant\n"
        "    Call ByTemp(Object ,array_ByTemp(0),array_ByTemp(1))\n"
        "    PXQDataService_GetSortValues = array_ByTemp\n";
    EXPECT_EQ(one.handlerText, std::string(kSortDeclaration) + kHeadLines +
                                   "  If iSortID = 1 Then\n" + byTempBranch +
                                   "  End If\n"
                                   "End Function\n"
                                   "\n");
    EXPECT_EQ(one.routineText, byTemp);

    const std::string byName = "Sub ByName(Obj)\nEnd Sub\n";
    CKBSort nameSort("ByName", "By name", "", byName, {});
    const GeneratedCode three = GenerateKind({&sort, &nameSort, &sort});
    EXPECT_EQ(three.registerText,
              one.registerText +
                  "  Dim array_ByName(0) As Variant\n"
                  "  Registrar.AddSort 2, \"ByName\", \"By name\", \"\", array_ByName\n"
                  "\n"
                  "  Dim array_ByTemp(2) As Variant\n"
                  "  array_ByTemp(0) = 1\n"
                  "  array_ByTemp(1) = -1\n"
                  "  Registrar.AddSort 3, \"ByTemp\", \"By temperature\", \"\", array_ByTemp\n"
                  "\n");
    EXPECT_EQ(three.handlerText, std::string(kSortDeclaration) + kHeadLines +
                                     "  If iSortID = 1 Then\n" + byTempBranch +
                                     "  Elseif iSortID = 2 then\n"
                                     "  Dim array_ByName(0) As Variant\n"
                                     "    Call ByName(Object )\n"
                                     "    PXQDataService_GetSortValues = array_ByName\n"
                                     "  Elseif iSortID = 3 then\n" +
                                     byTempBranch +
                                     "  End If\n"
                                     "End Function\n"
                                     "\n");
    EXPECT_EQ(three.routineText, byTemp + byName + byTemp);
}

// Event lines carry the kind word twice; a Filter without code logs no routine.
TEST_F(KBItemsKindsTest, LogLinesNameKindAndItemAndSetKindFlags)
{
    CKBEvent changed("Changed", {"Pump"}, false, "Sub Changed(Obj)\nEnd Sub\n");
    CKBFilter all("All", "All", "", "", {});
    CKBRule limit("Limit", "Limit", "", "Function Limit(A)\nEnd Function\n", false, false, false);
    GenerateKind({&changed});
    GenerateKind({&all});
    GenerateKind({&limit});

    const std::vector<std::string> expected = {
        "---->Generate Register code for DataServiceImpl.cls for Event : Event",
        "---->Generate COM Entry code for DataServiceImpl.cls for Event : Event",
        "---->Generate Implement code for KBRoutine.bas for Event : Event",
        "---->Generate Register code for DataServiceImpl.cls for Filter : All",
        "---->Generate COM Entry code for DataServiceImpl.cls for Filter : All",
        "---->Generate Register code for DataServiceImpl.cls for Rule : Limit",
        "---->Generate COM Entry code for DataServiceImpl.cls for Rule : Limit",
        "---->Generate Implement code for KBRoutine.bas for Rule : Limit",
    };
    EXPECT_EQ(ItemLogLines(), expected);
    const CLog* log = CLog::Instance();
    EXPECT_TRUE(log->hasEvent && log->hasFilter && log->hasRule);
    EXPECT_FALSE(log->hasDemon || log->hasMethod || log->hasSort);
}

TEST_F(KBItemsKindsTest, MethodAndSortLogTheirNames)
{
    CKBMethod calc("Calc", "Calc", "", "", false, false, false, {"Pump"});
    CKBSort sort("ByTemp", "ByTemp", "", "", {});
    GenerateKind({&calc});
    GenerateKind({&sort});

    const std::vector<std::string> expected = {
        "---->Generate Register code for DataServiceImpl.cls for Method : Calc",
        "---->Generate COM Entry code for DataServiceImpl.cls for Method : Calc",
        "---->Generate Implement code for KBRoutine.bas for Method : Calc",
        "---->Generate Register code for DataServiceImpl.cls for Sort : ByTemp",
        "---->Generate COM Entry code for DataServiceImpl.cls for Sort : ByTemp",
        "---->Generate Implement code for KBRoutine.bas for Sort : ByTemp",
    };
    EXPECT_EQ(ItemLogLines(), expected);
    const CLog* log = CLog::Instance();
    EXPECT_TRUE(log->hasMethod && log->hasSort);
    EXPECT_FALSE(log->hasDemon || log->hasEvent || log->hasFilter || log->hasRule);
}

}  // namespace
