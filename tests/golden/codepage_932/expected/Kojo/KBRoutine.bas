Attribute VB_Name = KBRoutine
Public Function 検査(値 As Variant) As Variant
    検査 = "C:\データ\" & 値 & " ? ?"
End Function
