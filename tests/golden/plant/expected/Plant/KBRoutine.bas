Attribute VB_Name = KBRoutine
Public Sub OverheatPatternPattern_Pump(Obj As IPXQObject, Demon As IPXQDemonControl)
    If Obj.GetValue("Temperature") > MaxTemperature Then
        Demon.Fire
    End If
End Sub
Public Sub OverheatActionAction_Pump(Obj As IPXQObject, Demon As IPXQDemonControl, Level As Variant)
    Obj.SetValue "Alarm", Level
    Obj.Invoke "Stop"
End Sub
Public Sub Created_Pump(Obj As IPXQObject, Data As Variant)
    Obj.SetValue "Starts", 0
    Obj.SetValue "Commissioned", Now
End Sub
Public Function Running(Obj As IPXQObject) As Boolean
    Running = (Obj.GetValue("State") = "Running")
End Function
Public Function Calc_Pump(Obj As IPXQObject, Pressure As Variant, Diameter As Variant) As Variant
    Dim Area As Double
    Area = 3.14159 * (Diameter / 2) ^ 2
    Calc_Pump = Area * Pressure * Obj.GetValue("Efficiency")
End Function
Public Function FindValve_Pump(Obj As IPXQObject) As Object
    Dim Valves As Object
    Set Valves = Server.ObjectStore.Find("Valve", "Pump = '" & Obj.Name & "'")
    Set FindValve_Pump = Valves.Item(1)
End Function
Public Function CheckLimits(Limit As Variant, Reading As Variant) As Variant
    If Reading > Limit Then
        CheckLimits = "Pressure " & FormatReading(Reading) & " above " & FormatReading(Limit)
    Else
        CheckLimits = ""
    End If
End Function
Public Sub ByTemp(Obj As IPXQObject, Temperature As Variant, Name As Variant)
    Temperature = Obj.GetValue("Temperature")
    Name = Obj.Name
End Sub
