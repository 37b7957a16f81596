Attribute VB_Name = KBRoutine
Function DPatternPattern_T(o, d)
  DPatternPattern_T = True False
End Function
Sub DActionAction_T(o, d)
  For i = 1 To 3
End Sub
Function R(a)
  If a Then
    R = 1
End Function
