Attribute VB_Name = GlobalCode
'define global variables
Public Server As PXQGlobals
Public ClassStore As PXQClassStore
Public ObjectStore As PXQObjectStore

Public Function Scaled(a)
Scaled = a *
End Function
