#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestSupport.h"
#include "vbcheck/VBIdentifier.h"
#include "vbcheck/VBModuleCheck.h"

namespace {

// Each finding as "origin:line: message", in the order given.
std::string Findings(const std::vector<std::string>& pieces)
{
    CVBModuleCheck check;
    for (size_t i = 0; i < pieces.size(); ++i)
        check.AddPiece(static_cast<int>(i) + 1, pieces[i]);
    std::string text;
    for (const VBFinding& finding : check.Finish())
        text += std::to_string(finding.origin) + ":" + std::to_string(finding.line) + ": " + finding.message + "\n";
    return text;
}

std::string InSub(const std::string& body)
{
    return "Sub T()\n" + body + "\nEnd Sub\n";
}

TEST(VBCheck, AcceptsWhatVB6Compiles)
{
    // Procedure bodies unless the row says module.
    struct Case {
        const char* code;
        bool module = false;
    };
    const std::vector<Case> cases = {
        {"If c Then a = 1: b = 2 Else c = 3"},
        {"If c Then: x = 1"},
        {"If a Then If b Then x = 1 Else y = 2 Else z = 3"},
        {"If c Then Exit Sub"},
        {"If c GoTo 10\n10 x = 1"},
        {"For i = 1 To 3: s = s + i: Next i"},
        {"For Each v In c\nNext v"},
        {"For i = 1 To 9 Step 2\nFor j% = 1 To 2\nNext j, i"},
        {"If a Then\nx = 1\nElseIf b Then\nx = 2\nElse\nx = 3\nEnd If"},
        {"Do While a: Loop\nDo\nLoop Until b\nWhile c: Wend"},
        {"Select Case x\nCase 1, 2 To 3, Is > 4: y = 1\nCase Else\nEnd Select"},
        {"With obj\n.Name = !Field\n.Open\n.Print: .Line\nFoo .a & .b\nEnd With"},
        {"start: x = 1\n100\n200 y = 2\nGoTo start\nGoSub 100\nReturn"},
        {"x = 1 ' comment\nRem a remark\n' a comment _\n  that goes on"},
        {"Attribute T.VB_UserMemId = 0"},
        {"a$ = b% & c& & d! & e# & f@"},
        {"x = &HFF + &O17 + &H8000& + 1.5E+3 + .5"},
        {"d = #1/1/2000#: t = #10:30:00 PM#"},
        {"[Select] = [my name] + 1"},
        {"x = rs!Field + rs(\"a\").Value"},
        {"f a, , c: f x:=1, y:=2\nz = g(x)(0)\nCall h(1)"},
        {"MsgBox (x), vbOK\nFoo (a) + 1, b"},
        {"Private Declare Function F Lib \"x\" Alias \"y\" (ByVal a As Long) As Long", true},
        {"Type T\n  a As Long\n  Left(1 To 2) As String * 10\nEnd Type\nEnum E\n  A = 1\n  B\nEnd Enum", true},
        {"Public Event Changed(ByVal v As Long)\nPrivate WithEvents w As Form\nImplements IFoo", true},
        {"Friend Function F(Optional a As Long = 1, ParamArray p()) As Long\nStatic n As Long\nEnd Function",
         true},
        {"DefInt A-Z\nOption Explicit\nOption Compare Text", true},
        {"RaiseEvent Changed(1)"},
        {"On Error GoTo fail\nOn Local Error Resume Next\nOn Error GoTo 0\nOn x GoTo a, b\nfail:\na:\nb:"},
        {"Open p For Binary Access Read As #1 Len = 5\nClose #1, #2\nClose"},
        {"Print #1, a; b,\nWrite #1, a\nInput #1, a\nLine Input #1, s\nGet #1, , x\nPut #1, 5, x"},
        {"Seek #1, 5\nLock #1, 1 To 2\nUnlock #1\nWidth #1, 80"},
        {"Debug.Print a; b\nPrinter.Print Tab(5); \"x\""},
        {"Mid$(s, 1, 1) = \"x\"\nLSet a = b\nRSet c = d\nName a As b\nDate = d\nTime = t\nError 5"},
        {"Line (0, 0)-(5, 5), vbRed, BF\nMe.Line Step(1, 1)-Step(2, 2)\nCircle (5, 5), 3\nPSet (1, 1)\nScale (0, 0)-(9, 9)"},
        {"Set x = New Collection\nIf TypeOf x Is Collection Then y = Not a And b Mod 2"},
        {"ReDim Preserve a(1 To n, 0 To 2) As Long\nErase a, b"},
        {"x = a _\n  + b"},
        {"#If Win32 Then\nx = 1\n#ElseIf Win16 Then\nx = 2 3\n#Else\nx = 3 4\n#End If"},
        {"#Const DEBUG_ON = 1\n#If DEBUG_ON Then\nDim a As Long\n#Else\nFor\n#End If"},
        {"#If VBA7 Then\nPrivate Declare PtrSafe Function F Lib \"k\" () As LongPtr\n#Else\nPrivate Declare "
         "Function F Lib \"k\" () As Long\n#End If",
         true},
        {"#If Win32 Then\nIf a Then\n#Else\nIf b Then\n#End If\nEnd If"},
        {"s = \"\xE9t\xE9\": \xC4nderung = 1 ' caf\xE9"},
        {"x = 1\r\ny = 2\rz = 3\r\n"},
        {"Property Get P() As Long\nEnd Property\nProperty Let P(v As Long)\nEnd Property", true},
        {"For shelfPositionIdx = 1 To 5\nNext shelfPositionIdx"},
        {"100 Rem count the widgets\n110 Rem"},
        {"GoTo Finish\n30 Finish: x = 1"},
    };
    for (const Case& c : cases) {
        const std::string code = c.module ? c.code : InSub(c.code);
        EXPECT_EQ(Findings({code}), "") << code;
    }
}

TEST(VBCheck, TellsVB6sErrorAtItsLine)
{
    struct Case {
        std::string code;  // a procedure body unless it starts with "module:"
        const char* expected;
    };
    const std::string longLine = "x = \"" + std::string(1030, 'a') + "\"";
    const std::string longName = std::string(256, 'n') + " = 1";
    std::string continued = "x = 1";
    for (int i = 0; i < 25; ++i)
        continued += " _\n + 1";
    // Enough names that the module's table of them grows several times before the clash.
    std::string manyProcedures = "module:";
    for (int i = 0; i < 300; ++i)
        manyProcedures += "Sub P" + std::to_string(i) + "()\nEnd Sub\n";
    const std::vector<Case> cases = {
        {"If a Then\nx = 1", "1:2: Block If without End If\n"},
        {"x = 1\nEnd If", "1:3: End If without block If\n"},
        {"Else", "1:2: Else without If\n"},
        {"For i = 1 To 2", "1:2: For without Next\n"},
        {"Next", "1:2: Next without For\n"},
        {"For i = 1 To 2\nNext j", "1:3: Invalid Next control variable reference\n"},
        {"Do", "1:2: Do without Loop\n"},
        {"Loop", "1:2: Loop without Do\n"},
        {"While a", "1:2: While without Wend\n"},
        {"Wend", "1:2: Wend without While\n"},
        {"Select Case x", "1:2: Select Case without End Select\n"},
        {"End Select", "1:2: End Select without Select Case\n"},
        {"Case 1", "1:2: Case without Select Case\n"},
        {"With x", "1:2: Expected End With\n"},
        {"End With", "1:2: End With without With\n"},
        {"module:Sub A()\nx = 1\nSub B()\nEnd Sub", "1:1: Expected End Sub\n"},
        {"module:Function A()", "1:1: Expected End Function\n"},
        {"module:Property Get A()\nEnd Sub", "1:1: Expected End Property\n"},
        {"If a\nEnd If", "1:2: Expected: Then or GoTo\n"},
        {"x = 1 y", "1:2: Expected: end of statement\n"},
        {"x = 1 +", "1:2: Expected: expression\n"},
        {"f(a b)", "1:2: Expected: list separator or )\n"},
        {"x = a.", "1:2: Expected: identifier\n"},
        {"Option Explicit", "1:2: Invalid inside procedure\n"},
        {"module:x = 1", "1:1: Invalid outside procedure\n"},
        {"module:Dim a: Sub A()\nEnd Sub", "1:1: Must be first statement on the line\n"},
        {"module:Sub A()\nEnd Sub: x = 1", "1:2: Only comments may appear after End Sub, End Function, or End Property\n"},
        {"module:Type T\nx = 1\nEnd Type", "1:2: Statement invalid inside Type block\n"},
        {"module:#If Win32 Then\nDim a", "1:1: You must terminate the If block with an End If\n"},
        {continued, "1:2: Too many line continuations\n"},
        {"y = 1\n" + longLine, "1:3: Line too long\n"},
        {longName, "1:2: Identifier too long\n"},
        {"GoTo nowhere", "1:2: Label not defined\n"},
        {"module:Sub A()\nEnd Sub\nFunction a()\nEnd Function", "1:3: Ambiguous name detected: a\n"},
        {manyProcedures + "Function p7()\nEnd Function", "1:601: Ambiguous name detected: p7\n"},
        // A closer that matches further down closes what lies between, each told at its opening.
        {"For i = 1 To 2\nIf a Then\nDo\nNext", "1:3: Block If without End If\n1:4: Do without Loop\n"},
        {"If a Then\nx = 1\nEnd Sub\nFunction F()\nEnd Function",
         "1:2: Block If without End If\n"},
        {"Next\nFor i = 1 To 2\nNext", "1:2: Next without For\n"},
        // One finding per statement; blocks still open their pairs.
        {"If a b Then\nEnd If", "1:2: Expected: Then or GoTo\n"},
        {"#If Win16 Then\n#Else\nx = 1 2\n#End If", "1:4: Expected: end of statement\n"},
    };
    for (const Case& c : cases) {
        const std::string_view prefix = "module:";
        const std::string code =
            c.code.rfind(prefix, 0) == 0 ? c.code.substr(prefix.size()) : InSub(c.code);
        EXPECT_EQ(Findings({code}), c.expected) << code;
    }
}

TEST(VBCheck, FindingsTellTheirColumnAndLength)
{
    struct Case {
        std::string code;
        int column;
        int length;
    };
    const std::vector<Case> cases = {
        {InSub("  x = 1 yy"), 9, 2},
        // Characters, not bytes: the name before holds a two-byte letter.
        {InSub("\xC4x = 1 y"), 8, 1},
        {InSub("x = 1 +"), 8, 0},
        {InSub("  If a Then"), 3, 2},
        {InSub("GoTo nowhere"), 6, 7},
        {"Sub A()\nEnd Sub\nPrivate Sub a()\nEnd Sub\n", 13, 1},
        {InSub(std::string(256, 'n') + " = 1"), 1, 256},
    };
    for (const Case& c : cases) {
        CVBModuleCheck check;
        check.AddPiece(1, c.code);
        const std::vector<VBFinding> findings = check.Finish();
        ASSERT_EQ(findings.size(), 1u) << c.code;
        EXPECT_EQ(findings[0].column, c.column) << c.code;
        EXPECT_EQ(findings[0].length, c.length) << c.code;
    }
}

TEST(VBCheck, PiecesKeepTheirOriginAndLines)
{
    EXPECT_EQ(Findings({"Function Twice()\nEnd Function\n", "' a sort\nSub twice()\nEnd Sub\n",
                        "Sub C()\n  If a Then\nEnd Sub\n"}),
              "2:2: Ambiguous name detected: twice\n3:2: Block If without End If\n");
    // A block opened in one piece and closed in the next is no error.
    EXPECT_EQ(Findings({"Sub A()\n  If a Then\r\n", "  End If\rEnd Sub"}), "");
    // What other modules may call: no Private, Declare too, each where its header stands.
    CVBModuleCheck check;
    check.AddPiece(7, "Private Sub Hidden()\nEnd Sub\nPublic Function Helper()\nEnd Function\n");
    check.AddPiece(8, "Sub Plain()\nEnd Sub\nPrivate Declare Sub A Lib \"k\" ()\nDeclare Function B Lib \"k\" ()\n");
    std::string procedures;
    for (const VBProcedure& procedure : check.PublicProcedures())
        procedures += std::to_string(procedure.origin) + ":" + std::to_string(procedure.line) + " " + procedure.name + "\n";
    EXPECT_EQ(procedures, "7:3 Helper\n8:1 Plain\n8:4 B\n");
}

TEST(VBCheck, IdentifierIsALetterThenNamePartsAndNoKeyword)
{
    const std::vector<std::pair<std::string, bool>> cases = {
        {"Pump", true},       {"Pump_2", true},      {"\xC4nderung", true}, {"Evil X", false},
        {"2Pump", false},     {"_Pump", false},      {"", false},           {"Select", false},
        {"next", false},      {std::string(255, 'a'), true}, {std::string(256, 'a'), false},
    };
    for (const auto& [text, valid] : cases)
        EXPECT_EQ(IsVBIdentifier(text), valid) << text;
}

TEST(VBCheck, ProgramSkipsTheFileHeaderAndTellsFileAndLine)
{
    TempFolder folder;
    const std::string form = folder / "Main.frm";
    WriteFileBytes(form,
                   "VERSION 5.00\r\n"
                   "Begin VB.Form Main\r\n"
                   "   Caption = \"If\"\r\n"
                   "   Begin VB.CommandButton Go\r\n"
                   "      BeginProperty Font\r\n"
                   "         Name = \"Arial\"\r\n"
                   "      EndProperty\r\n"
                   "   End\r\n"
                   "End\r\n"
                   "Attribute VB_Name = \"Main\"\r\n"
                   "Option Explicit\r\n"
                   "Private Sub Go_Click()\r\n"
                   "    If a Then\r\n"
                   "End Sub\r\n");
    const std::string clean = folder / "Clean.bas";
    WriteFileBytes(clean, "Attribute VB_Name = \"Clean\"\nSub A()\nEnd Sub\n");

    RunResult bad = RunProgram(VBCHECK_BINARY, {form, clean}, folder.Path());
    // Windows' text mode writes CR LF.
    std::erase(bad.out, '\r');
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_EQ(bad.out, form + ":13: error: Block If without End If\n");
    const RunResult good = RunProgram(VBCHECK_BINARY, {clean}, folder.Path());
    EXPECT_EQ(good.exitCode, 0);
    EXPECT_EQ(good.out, "");
}

TEST(VBCheck, ProgramReadsTheCodePageAndTheProjectsModulesWithItsConstants)
{
    TempFolder folder;
    // Shift-JIS: the second bytes of 表 and ー are \ and [ in ASCII.
    const std::string japanese = folder / "J.bas";
    WriteFileBytes(japanese, "Sub \x95\x5C\x8E\xA6()\r\nOn Error GoTo \x83\x47\x81\x5B\r\n\x83\x47\x81\x5B:\r\n"
                             "Call \x95\x5C\x8E\xA6\r\nEnd Sub\r\n");
    EXPECT_EQ(RunProgram(VBCHECK_BINARY, {"--codepage", "932", japanese}, folder.Path()).exitCode, 0);
    EXPECT_EQ(RunProgram(VBCHECK_BINARY, {"--codepage", "nowhere", japanese}, folder.Path()).exitCode, 2);

    // The second Kind is compiled only where the project does not set Report.
    std::filesystem::create_directories(FsPath(folder / "Code"));
    const std::string twice = "Property Get Kind() As Long\r\nEnd Property\r\n#If Report Then\r\n#Else\r\n"
                              "Property Get Kind() As Long\r\nEnd Property\r\n#End If\r\n";
    WriteFileBytes(folder / "Code/C.cls", twice);
    WriteFileBytes(folder / "M.bas", "Sub A()\r\nEnd Sub\r\n");
    const std::string project = folder / "P.vbp";
    WriteFileBytes(project, "Type=Exe\r\nModule=M; M.bas\r\nClass=C; Code\\C.cls\r\nCondComp=\"Other = 0 : Report = -1\"\r\n");
    RunResult checked = RunProgram(VBCHECK_BINARY, {project}, folder.Path());
    EXPECT_EQ(checked.exitCode, 0) << checked.out;
    WriteFileBytes(project, "Type=Exe\r\nClass=C; Code\\C.cls\r\nCondComp=\"Report = 0\"\r\n");
    checked = RunProgram(VBCHECK_BINARY, {project}, folder.Path());
    std::erase(checked.out, '\r');
    EXPECT_EQ(checked.out, folder / "Code/C.cls:5: error: Ambiguous name detected: Kind\n");
}

}  // namespace
