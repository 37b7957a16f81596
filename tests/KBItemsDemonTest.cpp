#include <string>
#include <vector>

#include "KBItemsFixture.h"
#include "kbitems/KBDemon.h"

namespace {

constexpr char kPatternDeclaration[] =
    "Private Sub PXQDataService_RunDemonPattern(ByVal iDemonID As Long, ByVal DemonName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal pDemon As DUZIVozoz.IPXQDemonControl, ByVal Globals As DUZIVozoz.IPXQGlobals)\n";
constexpr char kActionDeclaration[] =
    "Private Sub PXQDataService_RunDemonAction(ByVal iDemonID As Long, ByVal DemonName As String, ByVal Object As DUZIVozoz.IPXQObject, ByVal pDemon As DUZIVozoz.IPXQDemonControl, Args() As Variant, ByVal Globals As DUZIVozoz.IPXQGlobals)\n";

CKBDemon MakeChk()
{
    return CKBDemon("Chk", {"Pump", "Valve"}, false, true,
                    "Function ChkPatternPattern(Obj, Dmn)\n  ChkPatternPattern = True\nEnd Function\n",
                    "Sub ChkActionAction(Obj, Dmn, Level)\n  Call Alarm(Level)\nEnd Sub\n");
}

using KBItemsDemonTest = KBItemsTest;

TEST_F(KBItemsDemonTest, OneDemonWritesBothProceduresWhole)
{
    CKBDemon chk = MakeChk();
    const GeneratedCode code = GenerateKind({&chk});

    EXPECT_EQ(code.registerText,
              "  Dim array_ChkPump(2) As Variant\n"
              "  array_ChkPump(0) = \"Pump\"\n"
              "  array_ChkPump(1) = \"Valve\"\n"
              "  Registrar.AddDemon 1, \"Chk\", array_ChkPump, false, true\n"
              "\n");
    EXPECT_EQ(code.handlerText, std::string(kPatternDeclaration) + kHeadLines +
                                    "  If iDemonID = 1 Then\n"
                                    "    Call ChkPatternPattern_Pump(Object, pDemon )\n"
                                    "  End If\n"
                                    "End Sub\n"
                                    "\n" +
                                    kActionDeclaration + kHeadLines +
                                    "  If iDemonID = 1 Then\n"
                                    "    Call ChkActionAction_Pump(Object, pDemon ,Args(0))\n"
                                    "  End If\n"
                                    "End Sub\n"
                                    "\n");
    EXPECT_EQ(code.routineText,
              "Function ChkPatternPattern_Pump(Obj, Dmn)\n  ChkPatternPattern_Pump = True\nEnd Function\n"
              "Sub ChkActionAction_Pump(Obj, Dmn, Level)\n  Call Alarm(Level)\nEnd Sub\n");
    EXPECT_EQ(CKBDemon::patternText, "");
    EXPECT_EQ(CKBDemon::actionText, "");
}

TEST_F(KBItemsDemonTest, ThreeDemonsShareTwoProcedures)
{
    CKBDemon chk = MakeChk();
    // More than two pattern parameters still map to Args, though RunDemonPattern has none.
    CKBDemon run("Run", {"Tank"}, false, false,
                 "Function RunPatternPattern(Obj, Dmn, Limit)\nEnd Function\n",
                 "Sub RunActionAction(Obj, Dmn)\nEnd Sub\n");
    // No class: an empty suffix. A routine named with the word once is left as written.
    CKBDemon stop("Stop", {}, false, false, "Function StopPattern(Obj, Dmn)\nEnd Function\n",
                  "Sub StopActionAction(Obj, Dmn, A, B)\nEnd Sub\n");
    const GeneratedCode code = GenerateKind({&chk, &run, &stop});

    EXPECT_EQ(code.registerText,
              "  Dim array_ChkPump(2) As Variant\n"
              "  array_ChkPump(0) = \"Pump\"\n"
              "  array_ChkPump(1) = \"Valve\"\n"
              "  Registrar.AddDemon 1, \"Chk\", array_ChkPump, false, true\n"
              "\n"
              "  Dim array_RunTank(1) As Variant\n"
              "  array_RunTank(0) = \"Tank\"\n"
              "  Registrar.AddDemon 2, \"Run\", array_RunTank, false, false\n"
              "\n"
              "  Dim array_Stop(0) As Variant\n"
              "  Registrar.AddDemon 3, \"Stop\", array_Stop, false, false\n"
              "\n");
    EXPECT_EQ(code.handlerText, std::string(kPatternDeclaration) + kHeadLines +
                                    "  If iDemonID = 1 Then\n"
                                    "    Call ChkPatternPattern_Pump(Object, pDemon )\n"
                                    "  Elseif iDemonID = 2 then\n"
                                    "    Call RunPatternPattern_Tank(Object, pDemon ,Args(0))\n"
                                    "  Elseif iDemonID = 3 then\n"
                                    "    Call StopPatternPattern_(Object, pDemon )\n"
                                    "  End If\n"
                                    "End Sub\n"
                                    "\n" +
                                    kActionDeclaration + kHeadLines +
                                    "  If iDemonID = 1 Then\n"
                                    "    Call ChkActionAction_Pump(Object, pDemon ,Args(0))\n"
                                    "  Elseif iDemonID = 2 then\n"
                                    "    Call RunActionAction_Tank(Object, pDemon )\n"
                                    "  Elseif iDemonID = 3 then\n"
                                    "    Call StopActionAction_(Object, pDemon ,Args(0),Args(1))\n"
                                    "  End If\n"
                                    "End Sub\n"
                                    "\n");
    EXPECT_EQ(code.routineText,
              "Function ChkPatternPattern_Pump(Obj, Dmn)\n  ChkPatternPattern_Pump = True\nEnd Function\n"
              "Sub ChkActionAction_Pump(Obj, Dmn, Level)\n  Call Alarm(Level)\nEnd Sub\n"
              "Function RunPatternPattern_Tank(Obj, Dmn, Limit)\nEnd Function\n"
              "Sub RunActionAction_Tank(Obj, Dmn)\nEnd Sub\n"
              "Function StopPattern(Obj, Dmn)\nEnd Function\n"
              "Sub StopActionAction_(Obj, Dmn, A, B)\nEnd Sub\n");
}

// The code stays as read, so that it can be checked while the project is written.
TEST_F(KBItemsDemonTest, ImplementRenamesCopiesOfTheCode)
{
    CKBDemon chk = MakeChk();
    const std::string read = chk.PatternCode;
    std::string first;
    std::string second;
    chk.GenerateImplementCode(first);
    chk.GenerateImplementCode(second);
    EXPECT_EQ(chk.PatternCode, read);
    EXPECT_EQ(second, first);
    std::vector<std::string> parts;
    chk.RoutineParts([&](size_t index, std::string_view part) {
        EXPECT_EQ(index, parts.size());
        parts.emplace_back(part);
    });
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0] + parts[1], first);
}

// A class named like a token is filled again by later fillings of that token, also by the next
// item's.
TEST_F(KBItemsDemonTest, TokenInClassNameIsFilledAgain)
{
    CKBDemon chk("Chk", {"ITEM_00002"}, false, false, "Function P(Obj, Dmn)\n",
                 "Sub A(Obj, Dmn)\n");
    CKBDemon run("Run", {"Tank"}, false, false, "Function P(Obj, Dmn, Limit)\n",
                 "Sub A(Obj, Dmn)\n");
    const GeneratedCode code = GenerateKind({&chk, &run});

    EXPECT_EQ(code.registerText,
              "  Dim array_Chk0(1) As Variant\n"
              "  array_Chk0(0) = \"Chk\"\n"
              "  Registrar.AddDemon 1, \"Chk\", array_Chk1, false, false\n"
              "\n"
              "  Dim array_RunTank(1) As Variant\n"
              "  array_RunTank(0) = \"Tank\"\n"
              "  Registrar.AddDemon 2, \"Run\", array_RunTank, false, false\n"
              "\n");
    EXPECT_EQ(code.handlerText, std::string(kPatternDeclaration) + kHeadLines +
                                    "  If iDemonID = 1 Then\n"
                                    "    Call ChkPatternPattern_,Args(0)(Object, pDemon )\n"
                                    "  Elseif iDemonID = 2 then\n"
                                    "    Call RunPatternPattern_Tank(Object, pDemon ,Args(0))\n"
                                    "  End If\n"
                                    "End Sub\n"
                                    "\n" +
                                    kActionDeclaration + kHeadLines +
                                    "  If iDemonID = 1 Then\n"
                                    "    Call ChkActionAction_(Object, pDemon )\n"
                                    "  Elseif iDemonID = 2 then\n"
                                    "    Call RunActionAction_Tank(Object, pDemon )\n"
                                    "  End If\n"
                                    "End Sub\n"
                                    "\n");
}

TEST_F(KBItemsDemonTest, LogsEachPieceWithNameAndSetsDemonFlag)
{
    CKBDemon chk = MakeChk();
    CKBDemon run("Run", {"Tank"}, false, false, "", "");
    GenerateKind({&chk, &run});

    const std::vector<std::string> expected = {
        "---->Generate Register code for DataServiceImpl.cls for Demon : Chk",
        "---->Generate COM Entry code for DataServiceImpl.cls for Demon : Chk",
        "---->Generate Register code for DataServiceImpl.cls for Demon : Run",
        "---->Generate COM Entry code for DataServiceImpl.cls for Demon : Run",
        "---->Generate Implement code for KBRoutine.bas for Demon : Chk",
        "---->Generate Implement code for KBRoutine.bas for Demon : Run",
    };
    EXPECT_EQ(ItemLogLines(), expected);
    const CLog* log = CLog::Instance();
    EXPECT_TRUE(log->hasDemon);
    EXPECT_FALSE(log->hasEvent || log->hasFilter || log->hasMethod || log->hasRule || log->hasSort);
}

}  // namespace
