' Figures for the export macro run on the model of CorelDRAW's object model: the calls it
' makes per line segment, per curve segment, per subpath and per shape (each one a
' late-bound call in CorelDRAW), and the script host's seconds for a 100,000-node drawing.
' Counts are differences between two drawings, so the calls made once per export cancel.

' A drawing of `shapes` curves, each of `subpaths` open subpaths of `segments` segments:
' lines, curves, or the two in turn (kind 0, 1 or 2). Exports it; gives the calls made.
Function ExportCalls(shapes, subpaths, segments, kind)
    Dim doc, fso, i, k, j, crv, path, x
    Set fso = CreateObject("Scripting.FileSystemObject")
    Set doc = NewDocument(3)
    For i = 1 To shapes
        Set crv = NewCurve()
        For k = 1 To subpaths
            Set path = crv.AddSubPath(0, k, False)
            For j = 1 To segments
                x = j / 10
                If kind = 1 Or (kind = 2 And j Mod 2 = 0) Then
                    path.CurveTo x - 0.07, k + 1, x - 0.03, k + 1, x, k
                Else
                    path.LineTo x, k
                End If
            Next
        Next
        doc.ActivePage.Draw NewShape("shape " & i, MODEL_CURVE, crv)
    Next
    g_calls = 0
    g_started = Timer
    ExportDrawing doc, fso, fso.BuildPath(fso.GetSpecialFolder(2).Path, "MacroBench.plt")
    g_seconds = Timer - g_started
    ExportCalls = g_calls
End Function

Dim g_started, g_seconds, line, curve, subpath, shape, total
line = (ExportCalls(1, 1, 2000, 0) - ExportCalls(1, 1, 1000, 0)) / 1000
curve = (ExportCalls(1, 1, 2000, 1) - ExportCalls(1, 1, 1000, 1)) / 1000
subpath = (ExportCalls(1, 2000, 1, 0) - ExportCalls(1, 1000, 1, 0)) / 1000 - line
shape = (ExportCalls(2000, 1, 1, 0) - ExportCalls(1000, 1, 1, 0)) / 1000 - line - subpath
total = ExportCalls(1000, 1, 100, 2)
WScript.Echo "calls per line segment:  " & line
WScript.Echo "calls per curve segment: " & curve
WScript.Echo "calls per subpath:       " & subpath & " beyond its segments"
WScript.Echo "calls per shape:         " & shape & " beyond its subpaths (a curve)"
WScript.Echo "100,000 nodes (1,000 curves of 100 segments, half of them curved): " & total & " calls, " _
    & FormatNumber(g_seconds, 2) & " s in the script host"
