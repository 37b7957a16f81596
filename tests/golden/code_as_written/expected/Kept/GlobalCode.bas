Attribute VB_Name = GlobalCode
'define global variables
Public Server As PXQGlobals
Public ClassStore As PXQClassStore
Public ObjectStore As PXQObjectStore

Public Const Banner = "Private use only. Private copy"
Public Names() As String ' see a.txt
Public Counter As Long: Public Total As Double

Public Function ListOf(ParamArray Items() As Variant) As Variant()
Dim v As Variant: v = Array(): v = Items ' a.b()
ListOf = v
End Function

Public Function Refreshed(ByVal obj As Object) As Long
obj.Refresh
Refreshed = obj.Count + obj.Items.Count
End Function

Public Sub Grow(a() As String, ByVal n As Long)
ReDim Names(n): ReDim a(n) ' as in x.y()
End Sub

