Attribute VB_Name = KBRoutine
Public Function Calc_Pump(Obj As IPXQObject, P As Variant) As Variant
	Calc_Pump = P * 2 ' tab-indented: Calc is the result
    If Obj.Calc = 0 Then MsgBox "Calc = done; run Calc again"
End Function
Public Function Rate_Pump(Obj As IPXQObject, P As Variant) As Variant
    Rate_Pump = (P)
End Function
Public Function CHK(Limit As Variant) As Variant
    Rem Chk stays in this comment
    CHK = Limit > 0
End Function
