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
    doc.ActivePage.Draw NewShape("lines", MODEL_CURVE, crv)
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
    doc.ActivePage.Draw outer

    Set crv = NewCurve()
    Set path = crv.AddSubPath(1, 1, True)
    path.LineTo 2, 1
    path.LineTo 2, 3
    path.LineTo 1, 1
    doc.ActivePage.Draw NewShape("text", MODEL_TEXT, crv)

    Set bitmap = NewShape("bitmap", MODEL_BITMAP, Nothing)
    Set bitmap.Clip = New ModelPowerClip
    Set crv = NewCurve()
    crv.AddSubPath(5, 5, False).LineTo 6, 6
    bitmap.Clip.Shapes.Hold NewShape("inside the bitmap", MODEL_CURVE, crv)
    doc.ActivePage.Draw bitmap

    doc.ActivePage.Draw NewShape("guideline", MODEL_GUIDELINE, Nothing)

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
    doc.ActivePage.Draw frame
End Sub

' A straight cut from (x1, y1) to (x2, y2).
Function LineShape(name, x1, y1, x2, y2)
    Dim crv
    Set crv = NewCurve()
    crv.AddSubPath(x1, y1, False).LineTo x2, y2
    Set LineShape = NewShape(name, MODEL_CURVE, crv)
End Function

' Three shapes on the page, two of them selected, in the order the user picked them; the
' third on a hidden layer, which a selection takes all the same.
Sub DrawSelection(doc)
    Dim first, second, third
    Set first = LineShape("first", 0, 0, 1, 0)
    Set second = LineShape("second", 0, 0, 2, 0)
    Set third = LineShape("third", 0, 0, 3, 0)
    doc.ActivePage.Draw first
    doc.ActivePage.Draw second
    doc.ActivePage.AddLayer("hidden").Shown = False
    doc.ActivePage.Layers.At(2).Hold third
    ActiveSelectionRange.Add third
    ActiveSelectionRange.Add first
End Sub

' Only what is not cut: a bitmap, a guideline and a curve whose one subpath has no segment.
Sub DrawNothing(doc)
    Dim crv
    doc.ActivePage.Draw NewShape("bitmap", MODEL_BITMAP, Nothing)
    doc.ActivePage.Draw NewShape("guideline", MODEL_GUIDELINE, Nothing)
    Set crv = NewCurve()
    crv.AddSubPath 1, 1, False
    doc.ActivePage.Draw NewShape("empty curve", MODEL_CURVE, crv)
End Sub

' A shape that converts, then one whose conversion fails.
Sub DrawFailure(doc)
    Dim broken
    doc.ActivePage.Draw LineShape("fine", 0, 0, 1, 1)
    Set broken = NewShape("broken ellipse", MODEL_ELLIPSE, NewCurve())
    broken.ConversionFails = True
    doc.ActivePage.Draw broken
End Sub

' A 120 x 45.5 mm rectangle away from the origin, for starting Plotgate on it.
Sub DrawRectangle(doc)
    Dim crv, path
    Set crv = NewCurve()
    Set path = crv.AddSubPath(30, 40, True)
    path.LineTo 150, 40
    path.LineTo 150, 85.5
    path.LineTo 30, 85.5
    doc.ActivePage.Draw NewShape("rectangle", MODEL_CURVE, crv)
End Sub

' A sign maker's drawing: a cut line; a contour whose conversion gives a group of two
' lines (displayed, a triangle); a symbol that cannot be converted (displayed, a line); an
' OLE object, a drop shadow, a bitmap and a guideline; an ellipse on a locked layer, which
' refuses copies (displayed, a line).
Sub DrawMixed(doc)
    Dim contour, crv, path, symbol, ole, locked
    doc.ActivePage.Draw LineShape("cut line", 0, 0, 10, 0)
    Set crv = NewCurve()
    Set path = crv.AddSubPath(20, 0, True)
    path.LineTo 30, 0
    path.LineTo 20, 10
    Set contour = NewShape("contour", MODEL_CONTOUR, crv)
    contour.Pieces.Hold LineShape("inner contour", 0, 10, 10, 10)
    contour.Pieces.Hold LineShape("outer contour", 0, 20, 10, 20)
    doc.ActivePage.Draw contour
    Set crv = NewCurve()
    crv.AddSubPath(40, 0, False).LineTo 50, 0
    Set symbol = NewShape("symbol", MODEL_SYMBOL, crv)
    symbol.ConversionFails = True
    doc.ActivePage.Draw symbol
    Set ole = NewShape("chart", MODEL_OLE, Nothing)
    ole.ConversionFails = True
    doc.ActivePage.Draw ole
    doc.ActivePage.Draw NewShape("shadow", MODEL_DROP_SHADOW, Nothing)
    doc.ActivePage.Draw NewShape("photo", MODEL_BITMAP, Nothing)
    doc.ActivePage.Draw NewShape("guideline", MODEL_GUIDELINE, Nothing)
    Set locked = doc.ActivePage.AddLayer("locked")
    locked.Locked = True
    Set crv = NewCurve()
    crv.AddSubPath(60, 0, False).LineTo 70, 0
    locked.Hold NewShape("locked ellipse", MODEL_ELLIPSE, crv)
End Sub

' Nothing selected: only the first layer and the one whose state cannot be read are cut;
' not a hidden layer, a non-printable one, nor the guides and desktop layers. Of the
' master layers, that AllLayers lists, the visible, printable one is cut too; not a hidden
' one, nor the grid.
Sub DrawLayers(doc)
    Dim layer
    doc.ActivePage.Draw LineShape("shown", 0, 0, 1, 0)
    doc.ActivePage.AddLayer("hidden").Shown = False
    doc.ActivePage.Layers.At(2).Hold LineShape("photo outline", 0, 0, 2, 0)
    doc.ActivePage.AddLayer("notes").Printed = False
    doc.ActivePage.Layers.At(3).Hold LineShape("note", 0, 0, 3, 0)
    doc.ActivePage.AddLayer("Guides").Special = True
    doc.ActivePage.Layers.At(4).Hold LineShape("guide curve", 0, 0, 4, 0)
    doc.ActivePage.AddLayer("Desktop").Special = True
    doc.ActivePage.Layers.At(5).Hold LineShape("off the page", 0, 0, 5, 0)
    doc.ActivePage.AddLayer("unreadable").Unreadable = True
    doc.ActivePage.Layers.At(6).Hold LineShape("unreadable", 0, 0, 6, 0)
    doc.ActivePage.AddMasterLayer("Master").Hold LineShape("on every page", 0, 0, 7, 0)
    Set layer = doc.ActivePage.AddMasterLayer("Master hidden")
    layer.Shown = False
    layer.Hold LineShape("hidden on every page", 0, 0, 8, 0)
    Set layer = doc.ActivePage.AddMasterLayer("Grid")
    layer.Special = True
    layer.Hold LineShape("grid", 0, 0, 9, 0)
End Sub

' A line, then an ellipse whose converted copy's outline cannot be read halfway.
Sub DrawTorn(doc)
    Dim crv
    doc.ActivePage.Draw LineShape("fine", 0, 0, 1, 1)
    Set crv = NewCurve()
    crv.AddSubPath(0, 0, False).LineTo 1, 0
    crv.AddSubPath(5, 5, True).Broken = True
    doc.ActivePage.Draw NewShape("torn ellipse", MODEL_ELLIPSE, crv)
End Sub

' A line, a dimension that neither displays nor converts, and an ellipse displayed as an
' empty curve that does not convert either: the ellipse is asked about (not dropped
' unseen), and the dimension named with it.
Sub DrawDimension(doc)
    Dim dimension, ellipse
    doc.ActivePage.Draw LineShape("fine", 0, 0, 1, 1)
    Set dimension = NewShape("dimension", MODEL_DIMENSION, Nothing)
    dimension.DisplayFails = True
    dimension.ConversionFails = True
    doc.ActivePage.Draw dimension
    Set ellipse = NewShape("empty ellipse", MODEL_ELLIPSE, Nothing)
    Set ellipse.Displayed = NewCurve()
    ellipse.ConversionFails = True
    doc.ActivePage.Draw ellipse
End Sub

' A print-and-cut sheet, all of it selected: a curve in an envelope, cut as displayed, not
' as its own curve; text fitted to an ellipse that has neither fill nor outline (the text
' cut though its style cannot be read, the ellipse not); a perfect shape displayed as an
' empty curve, cut through its converted copy, after which the selection is given back; a
' photo and a dimension, never cut and not asked about; a PowerClip frame with neither
' fill nor outline, not cut, whose contents are.
Sub DrawEffects(doc)
    Dim envelope, path, text, circle, badge, frame, i
    Set path = NewCurve().AddSubPath(0, 0, True)
    path.LineTo 10, 0
    path.LineTo 10, 10
    path.LineTo 0, 10
    Set envelope = LineShape("envelope", 0, 0, 10, 0)
    Set envelope.Displayed = NewCurve()
    Set path = envelope.Displayed.AddSubPath(0, 0, True)
    path.LineTo 12, 0
    path.CurveTo 14, 4, 10, 8, 6, 12
    doc.ActivePage.Draw envelope
    Set text = NewShape("fitted text", MODEL_TEXT, LineShape("letters", 20, 0, 30, 0).Geometry)
    text.StyleFails = True
    doc.ActivePage.Draw text
    Set circle = NewShape("text path", MODEL_ELLIPSE, LineShape("circle", 20, -5, 30, -5).Geometry)
    circle.Filled = MODEL_NO_FILL
    circle.Stroked = MODEL_NO_OUTLINE
    doc.ActivePage.Draw circle
    Set badge = NewShape("badge", MODEL_PERFECT_SHAPE, LineShape("badge outline", 40, 0, 50, 0).Geometry)
    Set badge.Displayed = NewCurve()
    doc.ActivePage.Draw badge
    doc.ActivePage.Draw NewShape("photo", MODEL_BITMAP, Nothing)
    doc.ActivePage.Draw NewShape("dimension", MODEL_DIMENSION, LineShape("measure", 60, 0, 70, 0).Geometry)
    Set frame = LineShape("frame", 0, 20, 100, 20)
    frame.Filled = MODEL_NO_FILL
    frame.Stroked = MODEL_NO_OUTLINE
    Set frame.Clip = New ModelPowerClip
    frame.Clip.Shapes.Hold LineShape("clipped", 80, 30, 90, 30)
    doc.ActivePage.Draw frame
    For i = 1 To doc.ActivePage.Layers.At(1).Shapes.Size
        ActiveSelectionRange.Add doc.ActivePage.Layers.At(1).Shapes.At(i)
    Next
End Sub

' A line, then a shape at whose reading the run is broken off.
Sub DrawBrokenOff(doc)
    Dim shape
    doc.ActivePage.Draw LineShape("fine", 0, 0, 1, 1)
    Set shape = LineShape("last", 0, 0, 2, 2)
    shape.BreaksOff = True
    doc.ActivePage.Draw shape
End Sub

' A print-and-cut sheet: a line from (0, 0) to (100, 0) on the first layer, one to (0, 50)
' on a second, and a printed photo reaching to (120, 40), never cut but marked around: the
' marks go around 0 to 120 by 0 to 50 mm.
Sub DrawSheet(doc)
    doc.ActivePage.Draw LineShape("bottom", 0, 0, 100, 0)
    doc.ActivePage.AddLayer("artwork").Hold LineShape("side", 0, 0, 0, 50)
    doc.ActivePage.Draw NewShape("photo", MODEL_BITMAP, LineShape("photo frame", 20, 10, 120, 40).Geometry)
End Sub

' The marks' layer and each shape on it: its name, centre and outline widths (mm), and
' the kinds of its parts.
Function MarksReport()
    Dim layer, i, j, shape, box, text, part
    text = ""
    For i = 1 To ActivePage.Layers.Size
        Set layer = ActivePage.Layers.At(i)
        If layer.Name = "Plotgate marks" Then
            text = text & "layer " & layer.Name & ", visible " & layer.Shown & ", printable " & layer.Printed & ":" & vbCrLf
            For j = 1 To layer.Shapes.Size
                Set shape = layer.Shapes.At(j)
                box = shape.Box()
                text = text & "  " & shape.Name & " at " & (box(0) + box(2)) / 2 & "," & (box(1) + box(3)) / 2 & ":"
                For Each part In Array(1, 2, 3)
                    If shape.Kind = MODEL_GROUP And part <= shape.Children.Size Then
                        box = shape.Children.At(part).Box()
                        text = text & " " & shape.Children.At(part).Kind & "/" & shape.Children.At(part).OutlineWidth _
                            & "/" & (box(2) - box(0)) & "x" & (box(3) - box(1))
                    End If
                Next
                text = text & vbCrLf
            Next
        End If
    Next
    MarksReport = text
End Function

' The toolbar macros, each run twice, and the toolbars after each pair.
Function RunToolbarMacros()
    AddButton
    AddButton
    RunToolbarMacros = "after adding:" & vbCrLf & Application.Toolbars()
    RemoveButton
    RemoveButton
    RunToolbarMacros = g_messages & RunToolbarMacros & "after removing:" & vbCrLf & Application.Toolbars()
End Function

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
    Select Case name
        Case "toolbar"
            WScript.Echo RunToolbarMacros()
            Exit Sub
        Case "toolbar-user"
            ' A toolbar "Plotgate" that the user made, with a button of their own, in a
            ' version without SetIcon2, whose buttons cannot say what they run.
            Application.HasSetIcon2 = False
            Application.HasControlID = False
            Application.CommandBars.Add("Plotgate", 4, False).Controls.AddCustomButton("2cc24a3e-fe24-4708-9a74-9c75406eebcd", _
                "Signs.Tools.Weed").Caption = "Weed"
            WScript.Echo RunToolbarMacros()
            Exit Sub
        Case "toolbar-earlier"
            ' The toolbar of an earlier AddButton, whose button has no tag.
            With Application.CommandBars.Add("Plotgate", 4, False).Controls.AddCustomButton( _
                "2cc24a3e-fe24-4708-9a74-9c75406eebcd", "MeridalVorn.Ver001.MeridalCut")
                .Caption = "Plotgate"
                .ToolTipText = "Plotgate"
            End With
            WScript.Echo RunToolbarMacros()
            Exit Sub
        Case "toolbar-older"
            ' X7, whose button the installer puts; then a version without CommandBars.
            Application.Version = 17
            RunToolbarMacros
            Application.Version = 22
            Application.HasCommandBars = False
            WScript.Echo RunToolbarMacros()
            Exit Sub
    End Select
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
        Case "mixed"
            DrawMixed doc
        Case "mixed-displayed"
            Application.HasDisplayCurve = True
            DrawMixed doc
        Case "layers"
            ' In a CorelDRAW without EventsEnabled.
            Application.HasEventsEnabled = False
            DrawLayers doc
        Case "layers-older"
            ' Without AllLayers either: the page's own layers.
            Application.HasEventsEnabled = False
            Application.HasAllLayers = False
            DrawLayers doc
        Case "effects"
            ' At a drawing scale of 1:10.
            Application.HasDisplayCurve = True
            doc.Scale = 10
            DrawEffects doc
        Case "broken-off"
            DrawBrokenOff doc
        Case "after-break"
            ' The next run, with the settings as the broken-off one left them.
            doc.LeftAsBrokenOff
            doc.ActivePage.Draw LineShape("fine", 0, 0, 1, 1)
        Case "record-unreadable"
            ' A record of a broken-off run that cannot be read (set by the test).
            doc.ActivePage.Draw LineShape("fine", 0, 0, 1, 1)
        Case "torn"
            DrawTorn doc
        Case "cancel"
            Application.HasDisplayCurve = True
            g_answer = 2
            DrawDimension doc
        Case "millimetres"
            ' A document already in millimetres keeps them.
            doc.StartIn 3
            DrawSelection doc
        Case "marks"
            ' Marks around the page's shapes, drawn twice: three, not six.
            DrawSheet doc
            AddMarks
            AddMarks
            WScript.Echo MarksReport()
        Case "marks-four"
            ' Four on request, then the export with a mark the user drew, unnamed, in
            ' place of mark 3 and a line selected with a mark: only the line is cut.
            DrawSheet doc
            g_answer = 6
            AddMarks
            g_answer = 1
            ActivePage.Layers.At(3).Shapes.At(3).Name = ""
            ActiveSelectionRange.Add ActivePage.Layers.At(3).Shapes.At(1)
            ActiveSelectionRange.Add ActivePage.Layers.At(1).Shapes.At(1)
            WScript.Echo MarksReport()
        Case "marks-selection"
            ' Marks around the selected line only.
            DrawSheet doc
            ActiveSelectionRange.Add ActivePage.Layers.At(2).Shapes.At(1)
            AddMarks
            WScript.Echo MarksReport()
    End Select
    MeridalCut
    WScript.Echo Report() & ExchangeFile(fso, jobPath)
    If name = "after-break" Or name = "record-unreadable" Then WScript.Echo "marker: " & CreateObject("WScript.Shell").RegRead(MODEL_MARKER_VALUE)
End Sub

RunCase WScript.Arguments(0)
