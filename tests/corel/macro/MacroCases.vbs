' The drawings the export macro is run on, one per case named on the command line; after
' the macro, the report of the model and the exchange file it left (or "no exchange file").
' Positions in millimetres; the test expects them in 1/40 mm.
'
'   cscript //nologo macro.vbs lines

' An open subpath, a closed one with its closing segment, one closed without it (a line
' back is added) and one without segments (nothing written); rounding to the nearest unit.
Sub DrawLines(doc)
    Dim crv, path
    Set crv = NewCurve()
    Set path = crv.AddSubPath(10, 20, False)
    path.LineTo 30.5, 20
    path.LineTo 30.5, 45.26
    Set path = crv.AddSubPath(0, 0, True)
    path.LineTo 50, 0
    path.LineTo 50, 50
    path.LineTo 0, 0
    Set path = crv.AddSubPath(-5.01, 12.34, True)
    path.LineTo 5, 12.34
    path.LineTo 5, 20
    crv.AddSubPath 99, 99, True
    doc.ActivePage.Shapes.Hold NewShape("lines", MODEL_CURVE, crv)
End Sub

' Groups depth first, shapes converted through copies, a bitmap and a guideline skipped,
' PowerClip contents after the outline of the shape that holds them.
Sub DrawShapes(doc)
    Dim outer, inner, bitmap, frame, crv, path
    Set outer = NewShape("outer group", MODEL_GROUP, Nothing)
    Set crv = NewCurve()
    Set path = crv.AddSubPath(0, 0, False)
    path.CurveTo 10, 0, 20, 10, 20, 20
    path.LineTo 0, 20
    outer.Children.Hold NewShape("wave", MODEL_CURVE, crv)
    Set inner = NewShape("inner group", MODEL_GROUP, Nothing)
    Set crv = NewCurve()
    Set path = crv.AddSubPath(100, 50, True)
    path.CurveTo 100, 77.6, 77.6, 100, 50, 100
    inner.Children.Hold NewShape("ellipse", MODEL_ELLIPSE, crv)
    outer.Children.Hold inner
    doc.ActivePage.Shapes.Hold outer

    Set crv = NewCurve()
    Set path = crv.AddSubPath(1, 1, True)
    path.LineTo 2, 1
    path.LineTo 2, 3
    path.LineTo 1, 1
    doc.ActivePage.Shapes.Hold NewShape("text", MODEL_TEXT, crv)

    Set bitmap = NewShape("bitmap", MODEL_BITMAP, Nothing)
    Set bitmap.Clip = New ModelPowerClip
    Set crv = NewCurve()
    crv.AddSubPath(5, 5, False).LineTo 6, 6
    bitmap.Clip.Shapes.Hold NewShape("inside the bitmap", MODEL_CURVE, crv)
    doc.ActivePage.Shapes.Hold bitmap

    doc.ActivePage.Shapes.Hold NewShape("guideline", MODEL_GUIDELINE, Nothing)

    Set crv = NewCurve()
    Set path = crv.AddSubPath(0, 0, True)
    path.LineTo 100, 0
    path.LineTo 100, 60
    path.LineTo 0, 60
    Set frame = NewShape("frame", MODEL_CURVE, crv)
    Set frame.Clip = New ModelPowerClip
    Set crv = NewCurve()
    crv.AddSubPath(10, 10, False).LineTo 20, 10
    frame.Clip.Shapes.Hold NewShape("label", MODEL_TEXT, crv)
    doc.ActivePage.Shapes.Hold frame
End Sub

' A straight cut from (x1, y1) to (x2, y2).
Function LineShape(name, x1, y1, x2, y2)
    Dim crv
    Set crv = NewCurve()
    crv.AddSubPath(x1, y1, False).LineTo x2, y2
    Set LineShape = NewShape(name, MODEL_CURVE, crv)
End Function

' Three shapes on the page, two of them selected, in the order the user picked them.
Sub DrawSelection(doc)
    Dim first, second, third
    Set first = LineShape("first", 0, 0, 1, 0)
    Set second = LineShape("second", 0, 0, 2, 0)
    Set third = LineShape("third", 0, 0, 3, 0)
    doc.ActivePage.Shapes.Hold first
    doc.ActivePage.Shapes.Hold second
    doc.ActivePage.Shapes.Hold third
    ActiveSelectionRange.Add third
    ActiveSelectionRange.Add first
End Sub

' Only what is not cut: a bitmap, a guideline and a curve whose one subpath has no segment.
Sub DrawNothing(doc)
    Dim crv
    doc.ActivePage.Shapes.Hold NewShape("bitmap", MODEL_BITMAP, Nothing)
    doc.ActivePage.Shapes.Hold NewShape("guideline", MODEL_GUIDELINE, Nothing)
    Set crv = NewCurve()
    crv.AddSubPath 1, 1, False
    doc.ActivePage.Shapes.Hold NewShape("empty curve", MODEL_CURVE, crv)
End Sub

' A shape that converts, then one whose conversion fails.
Sub DrawFailure(doc)
    Dim broken
    doc.ActivePage.Shapes.Hold LineShape("fine", 0, 0, 1, 1)
    Set broken = NewShape("broken ellipse", MODEL_ELLIPSE, NewCurve())
    broken.ConversionFails = True
    doc.ActivePage.Shapes.Hold broken
End Sub

' A 120 x 45.5 mm rectangle away from the origin, for starting Plotgate on it.
Sub DrawRectangle(doc)
    Dim crv, path
    Set crv = NewCurve()
    Set path = crv.AddSubPath(30, 40, True)
    path.LineTo 150, 40
    path.LineTo 150, 85.5
    path.LineTo 30, 85.5
    doc.ActivePage.Shapes.Hold NewShape("rectangle", MODEL_CURVE, crv)
End Sub

' The exchange file the macro left, or "no exchange file".
Function ExchangeFile(fso, path)
    Dim stream
    If Not fso.FileExists(path) Then
        ExchangeFile = "no exchange file" & vbCrLf
        Exit Function
    End If
    Set stream = fso.OpenTextFile(path)
    ExchangeFile = "exchange file:" & vbCrLf & stream.ReadAll
    stream.Close
End Function

Sub RunCase(name)
    Dim fso, jobPath, doc, earlier
    Set fso = CreateObject("Scripting.FileSystemObject")
    jobPath = fso.BuildPath(fso.GetSpecialFolder(2).Path, "MeridalCut.plt")
    If fso.FileExists(jobPath) Then fso.DeleteFile jobPath
    If name <> "no-document" Then Set doc = NewDocument(1)
    Select Case name
        Case "lines"
            ' An earlier export, longer than this one, is replaced whole.
            Set earlier = fso.CreateTextFile(jobPath)
            earlier.Write "IN;SP1;PU1,1;PD9,9;PU1,1;PD9,9;PU1,1;PD9,9;PU1,1;PD9,9;PU1,1;PD9,9;PU1,1;PD9,9;SP0;"
            earlier.Close
            DrawLines doc
        Case "shapes"
            DrawShapes doc
        Case "selection"
            DrawSelection doc
        Case "nothing"
            DrawNothing doc
        Case "failure"
            DrawFailure doc
        Case "rectangle"
            DrawRectangle doc
        Case "millimetres"
            ' A document already in millimetres keeps them.
            doc.StartIn 3
            DrawSelection doc
    End Select
    MeridalCut
    WScript.Echo Report() & ExchangeFile(fso, jobPath)
End Sub

RunCase WScript.Arguments(0)
