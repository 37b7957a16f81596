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
        {"Type T\n  a As Long\n  Left(1 To 2) As String * 10\n  items As New Collection\nEnd Type\n"
         "Enum E\n  A = 1\n  B\nEnd Enum", true},
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
        {"Mid$(s, 1, 1) = \"x\"\nLSet a = b\nRSet c = d\nName a As b\nDate = d\nTime = tm\nError 5"},
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
        {"For i = 1 To 2\nDo\nIf a Then Exit For Else Exit Do\nLoop\nNext\nFor i = 1 To 3\nNext\nEnd"},
        {"If a Then\nIf b Then\nElse\nEnd If\nElseIf c Then\nElse\nEnd If"},
        {"Property Get P()\nExit Sub\nExit Function\nExit Property\nEnd Property\nFunction F()\nExit Function\nEnd "
         "Function",
         true},
        {"Option Base 1\nOption Compare Binary\nOption Private Module\nOption Explicit\n#Const A = 1\n#If A Then\n"
         "#Const B = 1\n#Else\n#Const B = 2\n#EndIf",
         true},
        {"Private n As Long\nSub A(n, Optional ByVal m& = 1)\nDim k\nEnd Sub\nSub B()\nDim k, m\nEnd Sub\n' note\n"
         "Private Static Function C()\nEnd Function",
         true},
        {"Set x = Me: Me.Caption = \"\""},
        {"Sub B(a() As Long, ByVal b As Long)\nDim s As String * 65526\nWith x\n.Caption = 1: Foo .a, !b\nEnd With\nEnd "
         "Sub",
         true},
        // Greek in two cases: two names, as a double-byte code page keeps them.
        {"Function \xCE\x93" "a()\nEnd Function\nFunction \xCE\xB3" "a()\nEnd Function", true},
        {"Sub T(a, Optional b)\nEnd Sub\nSub P(ParamArray p())\nEnd Sub\n#If Win16 Then\nSub Q()\n#Else\nSub Q(a, b)\n"
         "#End If\nEnd Sub\nSub U()\nT 1\nT 1, 2\nCall T(1, b:=2)\nP 1, 2, 3\nQ 1, 2\nobj.T 1, 2, 3\nIf a Then T 1 Else "
         "T 2, 3\nEnd Sub",
         true},
        {"100 Rem count the widgets\n110 Rem"},
        {"GoTo Finish\n30 Finish: x = 1"},
        // Declarations that come close to the errors their uses would make.
        {"Dim v\nv(1) = 0: v.Name = 1: Set v = Nothing\nWith v\nEnd With\nFor Each v In c\nNext"},
        {"Dim o As Object\nSet o = Nothing\nIf o Is Nothing Then o.Run 1\nCall Sort(AddressOf T)"},
        {"Dim a() As Long, b(3) As Long, c(1 To 2, -5 To -1)\nReDim a(5)\nReDim Preserve a(1 To 9)\n"
         "b(1) = UBound(b, 1) + c(1, -2)\nReDim b(1).Items(3)"},
        {"Const K As Integer = 32767, L As Long = 40000, M = 0 / 1 + 2 \\ 1"},
        {"Dim n As Long, s As String * 4\nn& = n + 1: x = n & \"a\": s$ = \"a\""},
        {"Open f For Input Access Read As #1\nOpen f For Append Access Read Write As #2"},
        {"Dim n As Long\nWith o\n.n(1) = 0: .n.x = 1\nEnd With\nf n:=1"},
        {"Const K = 1\nPrivate a(3) As Long\nSub A(K)\nK = 2\nDim a() As Long\nReDim a(5)\nEnd Sub\n"
         "Sub P(ParamArray p() As Variant)\nEnd Sub\nFunction F()\nEnd Function\nSub B()\nv = F\nDim P\nv = P\nEnd Sub",
         true},
        {"DefInt A-K\nDefStr N-Z\nDefLng L-M\nPrivate n As Long\nSub A()\nEnd Sub", true},
        // A declaration inside an #If may be another where a project sets its constants: not judged.
        {"#If DEBUGGING Then\nDim n As Variant\n#Else\nDim n As Long\n#End If\nn(1) = 0"},
        {"Do While a\nLoop\nDo\nLoop Until b\nSelect Case x\n' why\nDim i As Long\n#If A Then\nCase 1\n#Else\nCase 2\n#End If\n"
         "Case Else\nSelect Case y\nCase 3\nEnd Select\nEnd Select\nSelect Case z\nEnd Select"},
        {"Sub A(n)\nEnd Sub\nSub B(n, m)\nEnd Sub", true},
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
        {"Select Case x\nCase Else\nCase 1\nEnd Select", "1:4: Case without Select Case\n"},
        {"Select Case x\nn = 1\nCase 1\nEnd Select",
         "1:3: Statements or labels invalid between Select Case and first Case\n"},
        {"Do While a\nLoop Until b", "1:3: Loop without Do\n"},
        {"With x", "1:2: Expected End With\n"},
        {"End With", "1:2: End With without With\n"},
        {"module:Sub A()\nx = 1\nSub B()\nEnd Sub", "1:1: Expected End Sub\n"},
        {"module:Function A()", "1:1: Expected End Function\n"},
        {"module:Property Get A()\nEnd Sub", "1:1: Expected End Property\n"},
        {"If a\nEnd If", "1:2: Syntax error (expected: Then or GoTo)\n"},
        {"x = 1 y", "1:2: Syntax error (expected: end of statement)\n"},
        {"x = 1 +", "1:2: Syntax error (expected: expression)\n"},
        {"f(a b)", "1:2: Syntax error (expected: list separator or ))\n"},
        {"x = a.", "1:2: Syntax error (expected: identifier)\n"},
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
        {"module:Sub \xC3\x84nderung()\nEnd Sub\nSub \xC3\xA4nderung()\nEnd Sub", "1:3: Ambiguous name detected: \xC3\xA4nderung\n"},
        {"Exit For", "1:2: Exit For not within For...Next\n"},
        {"For i = 1 To 2\nExit Do\nNext", "1:3: Exit Do not within Do...Loop\n"},
        {"module:Function F()\nExit Sub\nEnd Function", "1:2: Exit Sub not allowed in Function or Property\n"},
        {"Exit Function", "1:2: Exit Function not allowed in Sub or Property\n"},
        {"Exit Property", "1:2: Exit Property not allowed in Function or Sub\n"},
        {"Exit While", "1:2: Syntax error (expected: Do or For or Sub or Function or Property)\n"},
        {"If a Then\nElse\nElse\nEnd If", "1:4: Else without If\n"},
        {"If a Then\nElse\nElseIf b Then\nEnd If", "1:4: Else without If\n"},
        {"If a Then\nElseIf b\nEnd If", "1:3: Syntax error (expected: Then)\n"},
        {"For i = 1 10\nNext", "1:2: Syntax error (expected: To)\n"},
        {"For i 1 To 10\nNext", "1:2: Syntax error (expected: =)\n"},
        {"For Each v c\nNext", "1:2: Syntax error (expected: In)\n"},
        {"Select x\nEnd Select", "1:2: Syntax error (expected: Case)\n"},
        {"For i = 1 To 2\nFor I% = 1 To 3\nNext\nNext", "1:3: For control variable already in use\n"},
        {"If a Then\nIf b Then\nEnd Iff\nElse\nEnd If", "1:4: Syntax error (expected: end of statement)\n"},
        {"With o\nFor Each c .Controls\nNext\nEnd With", "1:3: Syntax error (expected: In)\n"},
        {"module:Option Strict Off", "1:1: Expected: Base or Compare or Explicit or Private\n"},
        {"module:Option Base 2", "1:1: Expected: 0 or 1\n"},
        {"module:Option Compare Database", "1:1: Expected: Text or Binary\n"},
        {"module:Option Private", "1:1: Expected: Module\n"},
        {"module:Option Explicit\nOption Explicit", "1:2: Duplicate Option statement\n"},
        {"module:#Region \"x\"\nSub A()\nEnd Sub\n#Region \"y\"",
         "1:1: Expected: If or Else or ElseIf or End or EndIf or Const\n"
         "1:4: Syntax error (expected: If or Else or ElseIf or End or EndIf or Const)\n"},
        {"module:#Const A = 1\n#Const a = 2", "1:2: Duplicate definition\n"},
        {"Dim n As Long\nDim n$", "1:3: Duplicate declaration in current scope\n"},
        {"module:Sub A(ByVal n As Long)\nConst N = 1\nEnd Sub", "1:2: Duplicate declaration in current scope\n"},
        {"module:Private n As Long\nDim N", "1:2: Duplicate declaration in current scope\n"},
        {"module:Sub A(ByVal n As Long, n$)\nEnd Sub", "1:1: Duplicate declaration in current scope\n"},
        {"module:Sub A()\nEnd Sub\nDim n", "1:3: Only comments may appear after End Sub, End Function, or End Property\n"},
        {"module:Public Sub New()\nEnd Sub", "1:1: Expected: identifier\n"},
        {"module:Sub A()\nEnd Sub\nSub New()\nEnd Sub", "1:3: Syntax error (expected: identifier)\n"},
        {"module:Sub T(ByVal a As Long)\nEnd Sub\nSub U()\n  T 1, 2\nEnd Sub",
         "1:4: Wrong number of arguments or invalid property assignment\n"},
        {"module:Sub U()\nCall T(1)\nEnd Sub\nSub t(a, b)\nEnd Sub", "1:2: Argument not optional\n"},
        {".Caption = 1", "1:2: Invalid or unqualified reference\n"},
        {"module:Sub A()\nPublic n As Long\nEnd Sub", "1:2: Invalid attribute in Sub, Function, or Property\n"},
        {"module:Event A_B()", "1:1: Invalid event name\n"},
        {"module:Property Let P()\nEnd Property", "1:1: Argument required for Property Let or Property Set\n"},
        {"module:Sub A(ByVal a() As Long)\nEnd Sub", "1:1: Array argument must be ByRef\n"},
        {"module:Sub A(ByVal a b As Long)\nEnd Sub", "1:1: Expected: list separator or )\n"},
        {"Dim s As String * 0", "1:2: Invalid length for fixed-length string\n"},
        {"module:Type T\nEnd Type", "1:2: User-defined type without members not allowed\n"},
        {"On Error Resume Nowhere", "1:2: Syntax error (expected: Next)\n"},
        // One finding for one fault: the Type and the Enum stay open for the members after it.
        {"module:Type T\na As Long\nn = 1\nb As Long\nEnd Type", "1:3: Statement invalid inside Type block\n"},
        {"module:Enum E\na b\nc = 2\nEnd Enum", "1:2: Invalid inside Enum\n"},
        {"module:End Type", "1:1: Statement invalid outside Type block\n"},
        {"module:End Enum", "1:1: Invalid outside Enum\n"},
        // A closer matches the innermost block only: it is told, and what lies between closes untold.
        {"For i = 1 To 2\nIf a Then\nDo\nNext", "1:5: Next without For\n"},
        {"Do\nIf a Then\nx = 1\nLoop\nWhile b\nWith o\nWend", "1:5: Loop without Do\n1:8: Wend without While\n"},
        // One fault, one finding: a For that lost its Next is not told again at the For of its
        // variable; VB.NET's End Try closes nothing.
        {"For i = 1 To 2\nx = 1\nFor i = 1 To 3\nNext", "1:2: For without Next\n"},
        {"If a Then\nTry\nx = 1\nCatch e As Exception\nEnd Try\nElse\nEnd If",
         "1:5: Syntax error (expected: end of statement)\n"},
        {"If a Then\nx = 1\nEnd Sub\nFunction F()\nEnd Function",
         "1:2: Block If without End If\n"},
        {"Next\nFor i = 1 To 2\nNext", "1:2: Next without For\n"},
        // One finding per statement; blocks still open their pairs.
        {"If a b Then\nEnd If", "1:2: Syntax error (expected: Then or GoTo)\n"},
        {"#If Win16 Then\n#Else\nx = 1 2\n#End If", "1:4: Syntax error (expected: end of statement)\n"},
        // VB's precedence: Not below the comparisons and above And; And, Or, Xor, Eqv and Imp each a level.
        {"#If Not 1 = 2 Then\nx = 1 2\n#End If", "1:3: Syntax error (expected: end of statement)\n"},
        {"#If Not 0 And 0 Then\n#Else\nx = 1 2\n#End If", "1:4: Syntax error (expected: end of statement)\n"},
        {"#If -1 Or 0 And 0 Then\nx = 1 2\n#End If", "1:3: Syntax error (expected: end of statement)\n"},
        {"#If -1 Xor -1 Or -1 Then\n#Else\nx = 1 2\n#End If", "1:4: Syntax error (expected: end of statement)\n"},
        {"#If 0 Imp 0 Eqv 0 Then\nx = 1 2\n#End If", "1:3: Syntax error (expected: end of statement)\n"},
        {"module:#Else", "1:1: #Else clause must be preceded by a matching #If\n"},
        {"module:#If A Then\n#Else\n#Else\n#End If", "1:3: #Else clause must be preceded by a matching #If\n"},
        {"#End If", "1:2: #Else If, #Else, or #End If must be preceded by a matching #If\n"},
        // What declarations say, and the uses they forbid.
        {"Dim a(5 To 1) As Long", "1:2: Range has no values\n"},
        {"Const k As Integer = 40000", "1:2: Overflow\n"},
        {"Const k = 1 / (2 - 2)", "1:2: Division by zero\n"},
        {"Dim n As New Long", "1:2: Invalid use of New keyword\n"},
        {"module:Sub A(ParamArray a() As Long)\nEnd Sub", "1:1: ParamArray must be declared as an array of Variant\n"},
        {"Dim a(5) As Long\nReDim a(10)", "1:3: Array already dimensioned\n"},
        {"Dim n As Long\nn$ = \"a\"", "1:3: Type-declaration character does not match declared data type\n"},
        {"module:Const K = 1\nSub A()\nK = 2\nEnd Sub", "1:3: Assignment to constant not permitted\n"},
        {"Open f For Input Access Write As #1", "1:2: Invalid Access mode\n"},
        {"Dim n As Long\nn(1) = 0", "1:3: Expected array\n"},
        {"Dim a(3) As Long\na(1, 2) = 0", "1:3: Wrong number of dimensions\n"},
        {"Dim s As String\nDebug.Print s.Len", "1:3: Invalid qualifier\n"},
        {"Dim n As Long\nWith n\nEnd With", "1:3: With object must be user-defined type, Object, or Variant\n"},
        {"Dim s As String\nFor Each s In c\nNext", "1:3: For Each control variable must be Variant or Object\n"},
        {"Dim n As Long\nSet n = Nothing", "1:3: Object required\n"},
        {"Dim o As Object\no = Nothing", "1:3: Invalid use of object\n"},
        {"Dim n As Long\nn 1", "1:3: Expected procedure, not variable\n"},
        {"module:Sub A()\nv = AddressOf A\nEnd Sub", "1:2: Invalid use of AddressOf operator\n"},
        {"module:DefInt A-C, X\nDefStr Y-Z, b", "1:2: Duplicate Deftype statement\n"},
        {"module:Const K = 1\nPrivate n As Long\nDefLng Z", "1:3: Deftype statements must precede declarations\n"},
        {"module:Sub A()\nv = B\nv = A\nEnd Sub\nSub B()\nEnd Sub", "1:2: Expected Function or variable\n"
                                                                 "1:3: Expected Function or variable\n"},
    };
    for (const Case& c : cases) {
        const std::string_view prefix = "module:";
        const std::string code =
            c.code.rfind(prefix, 0) == 0 ? c.code.substr(prefix.size()) : InSub(c.code);
        EXPECT_EQ(Findings({code}), c.expected) << code;
    }
}

TEST(VBCheck, ErrorsOfOneKindOfModuleOnlyWhereItsKindIsKnown)
{
    struct Case {
        VBModuleKind kind;
        const char* code;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {VBModuleKind::Standard, "Sub A()\nSet x = Me\nEnd Sub", "2: Invalid use of Me keyword\n"},
        {VBModuleKind::Standard, "Sub A()\nDebug.Print Me.Name\nEnd Sub", "2: Invalid use of Me keyword\n"},
        {VBModuleKind::Standard, "Sub A()\nPrint \"x\"\nEnd Sub", "2: Current module does not support Print method\n"},
        {VBModuleKind::Standard, "Private WithEvents t As Timer", "1: Only valid in object module\n"},
        {VBModuleKind::Standard, "Implements IShape", "1: Only valid in object module\n"},
        {VBModuleKind::Standard, "Event Done()", "1: Only valid in object module\n"},
        {VBModuleKind::Object, "Option Private Module", "1: Option Private Module not permitted in object module\n"},
        {VBModuleKind::Object, "Public Const K = 1",
         "1: Constants, fixed-length strings, arrays, user-defined types, and Declare statements not allowed as Public "
         "members of an object module\n"},
        {VBModuleKind::Object, "Declare Sub S Lib \"k\" ()",
         "1: Constants, fixed-length strings, arrays, user-defined types, and Declare statements not allowed as Public "
         "members of an object module\n"},
        // Near misses: each in the kind of module that takes it, and where the kind is unknown.
        {VBModuleKind::Object, "Private WithEvents t As Timer\nImplements IShape\nEvent Done()\nConst K = 1\n"
                               "Private Declare Sub S Lib \"k\" ()\nSub A()\nSet x = Me\nPrint \"x\"\nEnd Sub", ""},
        {VBModuleKind::Standard, "Option Private Module\nPublic Const K = 1\nDeclare Sub S Lib \"k\" ()\nSub A()\n"
                                 "With Printer\nDebug.Print x\nEnd With\nPrint #1, x\nEnd Sub", ""},
        {VBModuleKind::Unknown, "Private WithEvents t As Timer\nPublic Const K = 1\nSub A()\nSet x = Me\nEnd Sub", ""},
    };
    for (const Case& c : cases) {
        CVBModuleCheck check;
        check.SetModuleKind(c.kind);
        check.AddPiece(1, c.code);
        std::string text;
        for (const VBFinding& finding : check.Finish())
            text += std::to_string(finding.line) + ": " + finding.message + "\n";
        EXPECT_EQ(text, c.expected) << c.code;
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
        // The word that has no If, not what follows it.
        {InSub("  If a Then\n  Else\n  Else\n  End If"), 3, 4},
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
    check.AddPiece(7, "Private Declare Sub A Lib \"k\" ()\nDeclare Function B Lib \"k\" ()\n"
                      "Private Sub Hidden()\nEnd Sub\nPublic Function Helper()\nEnd Function\n");
    check.AddPiece(8, "Sub Plain()\nEnd Sub\n");
    std::string procedures;
    for (const VBProcedure& procedure : check.PublicProcedures())
        procedures += std::to_string(procedure.origin) + ":" + std::to_string(procedure.line) + " " + procedure.name + "\n";
    EXPECT_EQ(procedures, "7:2 B\n7:5 Helper\n8:1 Plain\n");
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

    // Me means a class's or form's own object: a standard module has none.
    const std::string standard = folder / "S.bas";
    const std::string object = folder / "S.cls";
    WriteFileBytes(standard, "Sub A()\r\n  Set x = Me\r\nEnd Sub\r\n");
    WriteFileBytes(object, "Sub A()\r\n  Set x = Me\r\nEnd Sub\r\n");
    RunResult me = RunProgram(VBCHECK_BINARY, {standard, object}, folder.Path());
    std::erase(me.out, '\r');
    EXPECT_EQ(me.out, standard + ":2: error: Invalid use of Me keyword\n");

    // The second Kind is compiled only where the project does not set Report.
    std::filesystem::create_directories(FsPath(folder / "Code"));
    const std::string twice = "Property Get Kind() As Long\r\nEnd Property\r\n#If Report Then\r\n#Else\r\n"
                              "Property Get Kind() As Long\r\nEnd Property\r\n#End If\r\n";
    WriteFileBytes(folder / "Code/C.cls", twice);
    WriteFileBytes(folder / "M.bas", "Sub A()\r\nEnd Sub\r\n");
    const std::string project = folder / "P.vbp";
    // The file names as Windows finds them, case aside.
    WriteFileBytes(project, "Type=Exe\r\nModule=M; m.BAS\r\nClass=C; code\\C.cls\r\nCondComp=\"Other = 0 : Report = -1\"\r\n");
    RunResult checked = RunProgram(VBCHECK_BINARY, {project}, folder.Path());
    EXPECT_EQ(checked.exitCode, 0) << checked.out;
    WriteFileBytes(project, "Type=Exe\r\nClass=C; Code\\C.cls\r\nCondComp=\"Report = 0\"\r\n");
    checked = RunProgram(VBCHECK_BINARY, {project}, folder.Path());
    std::erase(checked.out, '\r');
    EXPECT_EQ(checked.out, folder / "Code/C.cls:5: error: Ambiguous name detected: Kind\n");
}

}  // namespace
