#!/usr/bin/env python3
"""Modules VB6 accepts that come close to a fault the checker looks for; vbcheck must find nothing
in any of them. Prints each module that gave a finding.

    nearmiss.py --vbcheck build/vbcheck"""
import argparse
import os
import subprocess
import tempfile

CLASS_HEADER = ["VERSION 1.0 CLASS", "BEGIN", "  MultiUse = -1  'True", "END"]

# name: (file name, lines after the Attribute VB_Name line)
CASES = {
    "exit-in-nested-loops": ("M.bas", [
        "Sub A(c As Collection)", "Dim i As Long, v", "Do", "For i = 1 To 3", "If i = 2 Then Exit For",
        "With c", "Select Case i", "Case 1: Exit Do", "End Select", "End With", "Next i", "For Each v In c",
        "Exit For", "Next", "Loop", "While i > 0: i = i - 1: Wend", "End Sub"]),
    "exit-in-own-procedure": ("C.cls", [
        "Private m As Long", "Public Property Get P() As Long", "Exit Property", "End Property",
        "Public Property Let P(ByVal v As Long)", "If v < 0 Then Exit Property", "m = v", "End Property",
        "Public Property Set Q(ByVal o As Object)", "Exit Property", "End Property",
        "Public Function F() As Long", "Exit Function", "End Function", "Public Sub S()", "Exit Sub", "End Sub"]),
    "else-after-elseif": ("M.bas", [
        "Sub A(ByVal n As Long)", "If n = 1 Then", "n = 2", "ElseIf n = 2 Then", "ElseIf n = 3 Then", "Else",
        "If n Then n = 1 Else n = 2", "End If", "If n Then", "If n = 4 Then n = 5 Else n = 6", "Else", "End If",
        "End Sub"]),
    "else-in-both-hash-branches": ("M.bas", [
        "#Const FAST = 1", "Sub A(ByVal n As Long)", "If n Then", "n = 1", "#If FAST Then", "Else", "n = 2",
        "#Else", "Else", "n = 3", "#End If", "End If", "End Sub"]),
    "for-headers": ("M.bas", [
        "Sub A(a() As Long, c As Collection, f As Object)", "Dim i As Long, j&, v, ctl", "For i = 1 To 10 Step 2: Next",
        "For i = -1 To -10 Step -1", "Next i", "For i = LBound(a) To UBound(a, 1)", "Next", 'For i = Len("To") To 3',
        "Next", "For j& = 1 To 2: Next j", "For Each v In c", "Next v", "For Each v In Array(1, 2)", "Next",
        "For Each ctl In f.Controls", "Next", "For i = 0 To _", "    9", "Next", "End Sub"]),
    "for-in-both-hash-branches": ("M.bas", [
        "Sub A()", "Dim i As Long", "#If Win64 Then", "For i = 1 To 10", "#Else", "For i = 1 To 20", "#End If",
        "Next", "End Sub"]),
    "declare-ptrsafe-in-inactive-branch": ("M.bas", [
        "#If VBA7 Then", 'Private Declare PtrSafe Function GetTickCount Lib "kernel32" () As LongPtr',
        "#Else", 'Private Declare Function GetTickCount Lib "kernel32" () As Long', "#End If",
        "Sub A()", "Debug.Print GetTickCount", "End Sub"]),
    "dims-that-are-not-duplicates": ("M.bas", [
        "Private x As Long", "Sub A(ByVal n As Long)", "Dim x As String", "Dim a() As Long", "ReDim a(5)",
        "ReDim Preserve a(10)", "ReDim b(3) As Long", "ReDim b(4) As Long", "Static s As Long", "Dim t, u As Long",
        "End Sub", "Sub B(ByVal m As Long)", "Dim x As Long", "Dim n As Long", "#If DEBUGGING Then", "Dim d As Long",
        "#Else", "Dim d As String", "#End If", "End Sub"]),
    "me-in-object-modules": ("C.cls", [
        "Public Function Self() As Object", "Set Self = Me", "End Function"]),
    "me-in-bas-text": ("M.bas", [
        "Sub A()", 'Debug.Print "Me"  \' Me in a comment', "Dim Mex As Long", "Mex = 1", "End Sub"]),
    "argument-counts": ("M.bas", [
        "Sub T(ByVal a As Long, Optional ByVal b As Long, Optional c)", "End Sub",
        "Sub U(ParamArray rest())", "End Sub", "Function F(ByVal a As Long) As Variant", "F = Array(a)",
        "End Function", "Property Get P(ByVal i As Long) As Long", "End Property",
        "Property Let P(ByVal i As Long, ByVal v As Long)", "End Property",
        "Property Set Q(ByVal i As Long, ByVal o As Object)", "End Property",
        "Sub A()", "Dim v", "T 1", "T 1, 2", "T 1, , 3", "T b:=2, a:=1", "Call T(1, 2, 3)", "T (1)", "U", "U 1, 2, 3, 4",
        "v = F(1)(0)", "P(1) = 5", "Set Q(1) = Nothing", "v = P(2)", "T _", "  1, _", "  2", "End Sub",
        "Sub B()", "Dim T As Collection", "Set T = New Collection", "T.Add 1, \"k\"", "End Sub"]),
    "gosub-return": ("M.bas", [
        "Sub A()", "GoSub Inner", "Exit Sub", "Inner:", "Debug.Print 1", "Return", "End Sub"]),
    "vbnet-words-as-names": ("M.bas", [
        "Private Try As Long", "Private Catch As Long", "Private Strict As Long", "Private Region As String",
        "Sub A()", "Try = 1: Catch = 2: Strict = 3", 'Region = "x"', "End Sub"]),
    "options": ("M.bas", [
        "Option Explicit", "Option Base 1", "Option Compare Text", "Option Private Module", "Sub A()", "End Sub"]),
    "end-forms": ("M.bas", [
        "Sub A(ByVal n As Long)", "If n Then End", "If n = 2 Then", "End  ' stop here", "End If", "End Sub"]),
    "type-and-enum-members": ("M.bas", [
        "Private Type T", "    a As Long", "    b(1 To 3) As String * 4", "End Type",
        "Private Enum E", "    e1", "    e2 = 2", "    [_e3] = e2 + 1", "End Enum", "Sub A()", "End Sub"]),
    "hash-const-in-both-branches": ("M.bas", [
        "#If DEBUGGING Then", "#Const TRACE = 1", "#Else", "#Const TRACE = 0", "#End If", "Sub A()", "End Sub"]),
    "exit-for-in-hash-branches": ("M.bas", [
        "Sub A()", "Dim i As Long", "#If Win64 Then", "For i = 1 To 10", "#Else", "For i = 1 To 20", "#End If",
        "If i = 3 Then Exit For", "Next", "End Sub"]),
    "names-in-other-namespaces": ("M.bas", [
        "Private Const K As Long = 1", "Private x As Long", "Sub A(ByVal x As Long)", "Dim K As String",
        "GoTo y", "y:", "End Sub", "Function B(ByVal y As Long) As Long", "Dim x As Long",
        "Static z As Long", "B = y", "End Function"]),
    "directives-between-procedures": ("M.bas", [
        "Sub A()", "End Sub", "' a comment between procedures", "#If DEBUGGING Then", "Sub B()", "End Sub", "#Else",
        "Sub B()", "Debug.Print 1", "End Sub", "#End If", "", "Sub C()", "End Sub"]),
    "attribute-lines-in-procedures": ("C.cls", [
        "Public Property Get Item(ByVal i As Long) As Long", "Attribute Item.VB_UserMemId = 0",
        "Attribute Item.VB_Description = \"The item\"", "Item = i", "End Property",
        "Public Function NewEnum() As IUnknown", "Attribute NewEnum.VB_UserMemId = -4", "End Function"]),
    "select-case-forms": ("M.bas", [
        "Sub A(ByVal n As Long, ByVal s As String)", "Select Case n", "' a comment before the first Case",
        "Case 1, 2 To 3, Is >= 10", "n = 0", "Case Is <> 5: n = 1", "Case Else: n = 2", "End Select",
        "Select Case UCase$(s)", 'Case "A" To "M"', "Case Else", "End Select", "End Sub"]),
    "type-and-enum-with-directives": ("M.bas", [
        "Private Const MAX_LEN As Long = 8", "Private Type T", "    ' a comment", "", "#If Win64 Then",
        "    h As Currency", "#Else", "    h As Long", "#End If", "    s As String * MAX_LEN", "    b() As Long",
        "    c(0 To MAX_LEN) As Byte", "End Type", "Private Enum E", "    [_First] = -1", "    eA = &H10",
        "#If DEBUGGING Then", "    eB = eA * 2", "#Else", "    eB = 3", "#End If", "End Enum", "Sub A()", "End Sub"]),
    "header-forms": ("M.bas", [
        "Sub A(ByVal n As Long)", "If n = 1 Then ' one", "ElseIf (n = 2) Then", "ElseIf n = 3 Or _", "    n = 4 Then",
        "End If", "Do While n > 0: n = n - 1: Loop", "Do", "Loop Until n = 0", "Do Until n > 3", "n = n + 1", "Loop",
        "While n > 0", "n = n - 1", "Wend", "End Sub"]),
    "declared-types-and-their-uses": ("M.bas", [
        "Private mA(3) As Long", "Private mB() As String", "Private Const MK As Long = 1",
        "Private Const DIVIDED = 0 / 1 + 2 \\ 1, LARGEST As Integer = 32767", "Sub S()", "End Sub",
        "Sub Sort(ByVal p As Long)", "End Sub", "Function F() As Long", "End Function",
        "Sub A(ByVal MK As Long, o As Object, ParamArray rest() As Variant)",
        "Dim v As Variant, n As Long, s As String * 4, a(1 To 3, -2 To -1) As Double, d()", "MK = 2",
        "v = F: v = rest(0)", 'v(1) = 0: v.Name = "x": Set v = Nothing', "Set o = Nothing",
        "If o Is Nothing Then o.Run 1", "With o", ".n(1) = 0: .s.Len = 1", "End With",
        'n& = n + 1: s$ = "a": v = n & s', "a(1, -1) = UBound(a, 2)", "ReDim d(5): ReDim Preserve d(9)",
        "ReDim mB(3)", "v = mA(1) + LBound(mA)", "Call Sort(AddressOf S)", "Sort AddressOf S",
        'Open "f" For Input Access Read As #1', 'Open "f" For Append Access Read Write As #2',
        'Open "f" For Binary Access Write As #3', "For Each v In rest", "Next", "End Sub",
        "Sub B()", "Dim S As Long", "v = S", "End Sub"]),
    "deftypes-before-variables": ("M.bas", [
        "DefInt A-K", "DefStr N-Z", "DefLng L-M", "Private n As Long", "Sub A()", "End Sub"]),
    "labels-and-line-numbers": ("M.bas", [
        "Sub A()", "On Error GoTo 100", "10 GoTo Finish", "20 Finish:", "100 Rem handle it all here",
        "110 Resume Next", "End Sub"]),
}


def write(path, name, lines):
    header = CLASS_HEADER if name.endswith(".cls") else []
    module = os.path.splitext(name)[0]
    text = "\r\n".join(header + ['Attribute VB_Name = "%s"' % module] + lines) + "\r\n"
    with open(path, "wb") as f:
        f.write(text.encode("cp1252"))


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--vbcheck", required=True)
    a = ap.parse_args()
    bad = 0
    with tempfile.TemporaryDirectory() as d:
        for case, (name, lines) in CASES.items():
            os.makedirs(os.path.join(d, case))
            path = os.path.join(d, case, name)
            write(path, name, lines)
            r = subprocess.run([a.vbcheck, path], capture_output=True, text=True)
            if r.stdout or r.returncode:
                bad += 1
                print("%s: %s" % (case, r.stdout.replace(path, name).strip() or r.stderr.strip()))
    print("%d of %d near misses gave a finding" % (bad, len(CASES)))


if __name__ == "__main__":
    main()
