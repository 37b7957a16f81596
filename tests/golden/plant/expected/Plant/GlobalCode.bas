Attribute VB_Name = GlobalCode
'define global variables
Public Server As PXQGlobals
Public ClassStore As PXQClassStore
Public ObjectStore As PXQObjectStore

' Limits shared by every rule of the plant.

Public Const MaxTemperature As Double = 85.5
Public PlantName As String

Public Function FormatReading(ByVal Value As Double) As String
FormatReading = Format$(Value, "0.0")
End Function


Public Function PlantTitle() As String
PlantTitle = "Plant " & PlantName
End Function
