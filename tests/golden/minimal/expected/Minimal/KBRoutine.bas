Attribute VB_Name = KBRoutine
