Attribute VB_Name = KBRoutine
Public Function Prüfe(Wert As Variant) As Variant
    Prüfe = "Maß: " & Wert
End Function
