' Creates the installed control the way a script host does, by its ProgID,
' and shows its about box (the package checks answer it from another
' process). Prints one line per step; the exit code is 0 only when every
' step worked. Wine's script host exits 0 on an uncaught error, so every
' error is caught here.
Option Explicit
On Error Resume Next

Dim control
Set control = CreateObject("QTA1.QTA1Ctrl.1")
If Err.Number <> 0 Then
    WScript.Echo "CreateObject failed: " & Hex(Err.Number) & " " & Err.Description
    WScript.Quit 1
End If
WScript.Echo "created " & TypeName(control)

control.AboutBox
If Err.Number <> 0 Then
    WScript.Echo "AboutBox failed: " & Hex(Err.Number) & " " & Err.Description
    WScript.Quit 2
End If
WScript.Echo "AboutBox returned"

Set control = Nothing
WScript.Quit 0
