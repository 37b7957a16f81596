Attribute VB_Name = KBRoutine
Public Sub WatchPatternPattern_ITEM_00002(Obj As Object, Demon As Object, Limit As Variant)
    If Obj.Level > Limit Then Demon.Fire
End Sub
Public Sub WatchActionAction_ITEM_00002(Obj As Object, Demon As Object)
    Obj.Invoke "Drain"
End Sub
Public Function NoResult()
    Beep
End Function
Public Sub ByLevel(Obj As Object, Level As Variant)
    Level = Obj.Level
End Sub
