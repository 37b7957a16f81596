Attribute VB_Name = KBRoutine
Public Sub Deleted_Pump(Obj As Object, Data As Variant)
    Log Obj.Name
End Sub
Public Sub Created_Valve(Obj As Object, Data As Variant)
    Obj.SetValue "Open", False
End Sub
Public Sub Created_Pump(Obj As Object, Data As Variant)
    Obj.SetValue "Version", 2
End Sub
