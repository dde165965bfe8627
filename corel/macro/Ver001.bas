Attribute VB_Name = "Ver001"
' The toolbar button's macro: writes the outlines of the selected shapes (with nothing
' selected, of the shapes on the active page's visible, printable layers) to an exchange
' file in the user's temporary folder and starts Plotgate with its path. The file, in
' 1/40 mm, one command a line:
'
'   IN;SP1;
'   PU0,0;                          pen up to a subpath's first node
'   PD4000,0;                       a line segment to its end node
'   BZ4000,2000,2000,4000,0,4000;   a curve: first control point, second, end node
'   PD0,0;                          a closed subpath's closing line, when it has none
'   SP0;
'
' A shape whose outline cannot be read is left out and counted, and the user is asked
' whether to cut the rest. AddButton and RemoveButton put a toolbar with the cutting
' button into CorelDRAW X8 and later, where the installer does not.
'
' Written in the part of VBA that VBScript runs too (no declared types, no file statements,
' no jumps on error, no names from CorelDRAW's type library), so that this very source is
' tested outside CorelDRAW against a model of its object model. Every member is reached
' through an untyped variable, so late-bound: a member an older CorelDRAW lacks fails when
' it is called, where it is trapped, instead of breaking the whole project.
Option Explicit

Private Const UNIT_MILLIMETRE = 3
Private Const SHAPE_CURVE = 3
Private Const SHAPE_GROUP = 7
Private Const SHAPE_GUIDELINE = 9
Private Const SEGMENT_CURVE = 1
Private Const UNITS_PER_MILLIMETRE = 40
Private Const TEMPORARY_FOLDER = 2
Private Const ICON_EXCLAMATION = 48
Private Const BUTTONS_OK_CANCEL = 1
Private Const ANSWER_OK = 1
Private Const WINDOW_NORMAL = 1

' Where the installer, or "Plotgate.exe /RegCorelWorkSpace", records the program.
Private Const PLOTGATE_PATH_VALUE = "HKCU\Software\Meridal\Plotgate\Path"
Private Const EXCHANGE_FILE_NAME = "MeridalCut.plt"
Private Const MESSAGE_TITLE = "Plotgate"
Private Const UNDO_NAME = "Plotgate export"

' The toolbar of AddButton: a floating bar kept between sessions, its one button running
' the cutting macro from the macros category (the category our workspace files use).
Private Const TOOLBAR_NAME = "Plotgate"
Private Const BAR_FLOATING = 4
Private Const MACROS_CATEGORY = "2cc24a3e-fe24-4708-9a74-9c75406eebcd"
Private Const CUT_COMMAND = "MeridalVorn.Ver001.MeridalCut"
Private Const FIRST_VERSION_WITHOUT_INSTALLED_BUTTON = 18

Private Const NO_DOCUMENT_TEXT = "There is no drawing to cut: open or create a document in CorelDRAW first."
Private Const NOTHING_TO_CUT_TEXT = "There is nothing to cut: select the shapes to cut, or draw them on a visible, printable layer of the active page."
Private Const NOT_INSTALLED_TEXT = "Plotgate is not installed: run its installer, or run ""Plotgate.exe /RegCorelWorkSpace"" once in the folder that holds it."
Private Const FAILED_TEXT = "Plotgate could not export the drawing: "
Private Const BUTTON_INSTALLED_TEXT = "In this version of CorelDRAW the installer puts the toolbar with the Plotgate button in place, and uninstalling Plotgate takes it away."
Private Const BUTTON_ADDED_TEXT = "The toolbar ""Plotgate"" is in place: its button cuts the selected shapes, or the whole page."
Private Const BUTTON_REMOVED_TEXT = "The toolbar ""Plotgate"" is removed."
Private Const NO_BUTTON_TEXT = "There is no toolbar ""Plotgate"" to remove."
Private Const BUTTON_FAILED_TEXT = "Plotgate could not change its toolbar in this version of CorelDRAW: "

Private m_stream    ' the exchange file while it is written
Private m_count     ' the drawing commands written so far
Private m_problem   ' what went wrong first; "" while all is well
Private m_document  ' the document being exported
Private m_grouped   ' whether the export's undo step has begun
Private m_leftOut   ' kind name -> how many shapes of that kind were left out
Private m_leftTotal ' how many shapes were left out

' The toolbar button's command: exports the drawing and starts Plotgate on it.
Public Sub MeridalCut()
    Dim doc, program, fso, jobPath, problem, wanted
    On Error Resume Next
    Set doc = Nothing
    Set doc = ActiveDocument
    If doc Is Nothing Then
        Tell NO_DOCUMENT_TEXT
        Exit Sub
    End If
    Err.Clear
    Set fso = CreateObject("Scripting.FileSystemObject")
    program = PlotgateProgram(fso)
    If program = "" Then
        Tell NOT_INSTALLED_TEXT
        Exit Sub
    End If
    Err.Clear
    jobPath = fso.BuildPath(fso.GetSpecialFolder(TEMPORARY_FOLDER).Path, EXCHANGE_FILE_NAME)
    If Err.Number <> 0 Then
        Tell FAILED_TEXT & "no temporary folder: " & Err.Description
        Exit Sub
    End If
    problem = ExportDrawing(doc, fso, jobPath)
    If problem <> "" Then Tell problem
    wanted = (problem = "")
    If wanted And m_leftTotal > 0 Then
        wanted = (MsgBox("Plotgate cannot cut " & Counted(m_leftTotal, "object") & " of the drawing: " _
            & LeftOutList() & ". Cut the rest?", ICON_EXCLAMATION + BUTTONS_OK_CANCEL, MESSAGE_TITLE) = ANSWER_OK)
    End If
    If Not wanted Then
        Err.Clear
        If fso.FileExists(jobPath) Then fso.DeleteFile jobPath, True
        Exit Sub
    End If
    Err.Clear
    CreateObject("WScript.Shell").Run Quoted(program) & " " & Quoted(jobPath), WINDOW_NORMAL, False
    If Err.Number <> 0 Then Tell FAILED_TEXT & "could not start " & program & ": " & Err.Description
End Sub

' Run once in CorelDRAW X8 and later: makes the floating toolbar "Plotgate" with one button
' that cuts. Running it again adds nothing: the toolbar is found by its name, and gets a
' button only while it has none.
Public Sub AddButton()
    Dim bars, bar, buttons, button
    On Error Resume Next
    If InstallerPutsButton() Then
        Tell BUTTON_INSTALLED_TEXT
        Exit Sub
    End If
    Err.Clear
    Set bar = Nothing
    Set bars = Host().CommandBars
    If Err.Number = 0 Then Set bar = ToolbarOf(bars)
    If Err.Number = 0 Then
        If bar Is Nothing Then Set bar = bars.Add(TOOLBAR_NAME, BAR_FLOATING, False)
    End If
    If Err.Number = 0 Then Set buttons = bar.Controls
    If Err.Number = 0 Then
        If buttons.Count = 0 Then
            Set button = buttons.AddCustomButton(MACROS_CATEGORY, CUT_COMMAND)
            If Err.Number = 0 Then button.Caption = TOOLBAR_NAME
            If Err.Number = 0 Then button.ToolTipText = TOOLBAR_NAME
        End If
    End If
    If Err.Number = 0 Then bar.Visible = True
    If Err.Number <> 0 Then
        Tell BUTTON_FAILED_TEXT & Err.Description
    Else
        Tell BUTTON_ADDED_TEXT
    End If
    Err.Clear
End Sub

' Takes the toolbar of AddButton away again; to be run before uninstalling Plotgate.
Public Sub RemoveButton()
    Dim bars, bar
    On Error Resume Next
    If InstallerPutsButton() Then
        Tell BUTTON_INSTALLED_TEXT
        Exit Sub
    End If
    Err.Clear
    Set bar = Nothing
    Set bars = Host().CommandBars
    If Err.Number = 0 Then Set bar = ToolbarOf(bars)
    If Err.Number = 0 Then
        If bar Is Nothing Then
            Tell NO_BUTTON_TEXT
            Exit Sub
        End If
        bar.Delete
    End If
    If Err.Number <> 0 Then
        Tell BUTTON_FAILED_TEXT & Err.Description
    Else
        Tell BUTTON_REMOVED_TEXT
    End If
    Err.Clear
End Sub

' Whether this CorelDRAW is one of the versions (12 to X7) whose workspace the installer
' edits; a version that cannot say is taken to be a later one.
Private Function InstallerPutsButton()
    Dim version
    On Error Resume Next
    version = FIRST_VERSION_WITHOUT_INSTALLED_BUTTON
    version = Host().VersionMajor
    InstallerPutsButton = (version < FIRST_VERSION_WITHOUT_INSTALLED_BUTTON)
    Err.Clear
End Function

' CorelDRAW's application object, untyped, so that its members are reached late-bound.
Private Function Host()
    Set Host = Application
End Function

' The toolbar named "Plotgate" among `bars`, or Nothing. Raises when `bars` cannot be read.
Private Function ToolbarOf(bars)
    Dim i, count
    Set ToolbarOf = Nothing
    count = bars.Count
    For i = 1 To count
        If bars.Item(i).Name = TOOLBAR_NAME Then
            Set ToolbarOf = bars.Item(i)
            Exit Function
        End If
    Next
End Function

' The full path of Plotgate.exe as its set-up recorded it, or "" when there is none or the
' program is no longer there.
Private Function PlotgateProgram(fso)
    Dim path
    On Error Resume Next
    path = ""
    path = CreateObject("WScript.Shell").RegRead(PLOTGATE_PATH_VALUE)
    If Err.Number <> 0 Then path = ""
    If path <> "" Then
        If Not fso.FileExists(path) Then path = ""
    End If
    PlotgateProgram = path
    Err.Clear
End Function

' Writes the exchange file at jobPath in millimetres, with screen updates, events and the
' selection's upkeep off, the document's unit and those settings put back after, whatever
' happened. Gives "" when the file holds something to cut, else the message to show.
Private Function ExportDrawing(doc, fso, jobPath)
    Dim app, saved, savedUnit
    On Error Resume Next
    m_count = 0
    m_problem = ""
    m_leftTotal = 0
    m_grouped = False
    Set m_document = doc
    Set m_leftOut = CreateObject("Scripting.Dictionary")
    If fso.FileExists(jobPath) Then fso.DeleteFile jobPath, True
    If Err.Number = 0 Then Set m_stream = fso.CreateTextFile(jobPath)
    If Err.Number <> 0 Then
        ExportDrawing = FAILED_TEXT & "could not write " & jobPath & ": " & Err.Description
        Exit Function
    End If
    m_stream.Write "IN;SP1;" & vbCrLf
    Set app = Host()
    saved = SpeedUp(app, doc)
    savedUnit = doc.Unit
    If Err.Number = 0 Then
        doc.Unit = UNIT_MILLIMETRE
        If Err.Number = 0 Then ExportChosenShapes
        NoteError
        doc.Unit = savedUnit
    End If
    NoteError
    If m_grouped Then doc.EndCommandGroup
    NoteError
    PutBack app, doc, saved
    m_stream.Write "SP0;" & vbCrLf
    m_stream.Close
    NoteError
    Set m_stream = Nothing
    Set m_document = Nothing
    If m_problem <> "" Then
        ExportDrawing = FAILED_TEXT & m_problem
    ElseIf m_count = 0 And m_leftTotal > 0 Then
        ExportDrawing = NOTHING_TO_CUT_TEXT & " Left out: " & LeftOutList() & "."
    ElseIf m_count = 0 Then
        ExportDrawing = NOTHING_TO_CUT_TEXT
    Else
        ExportDrawing = ""
    End If
End Function

' Switches off the screen updates, events and selection upkeep that slow a long export,
' and gives what they were; a setting this version lacks is left alone (Empty).
Private Function SpeedUp(app, doc)
    Dim saved(2)
    On Error Resume Next
    saved(0) = app.Optimization
    If Err.Number = 0 Then app.Optimization = True
    Err.Clear
    saved(1) = app.EventsEnabled
    If Err.Number = 0 Then app.EventsEnabled = False
    Err.Clear
    saved(2) = doc.PreserveSelection
    If Err.Number = 0 Then doc.PreserveSelection = False
    Err.Clear
    SpeedUp = saved
End Function

' Puts back what SpeedUp changed and redraws the screen.
Private Sub PutBack(app, doc, saved)
    On Error Resume Next
    If Not IsEmpty(saved(0)) Then app.Optimization = saved(0)
    If Not IsEmpty(saved(1)) Then app.EventsEnabled = saved(1)
    If Not IsEmpty(saved(2)) Then doc.PreserveSelection = saved(2)
    app.Refresh
    Err.Clear
End Sub

' The selection in its order; with nothing selected, the shapes of the active page's
' visible, printable layers. Each as a fixed range, since exporting may add and delete
' shapes on the page.
Private Sub ExportChosenShapes()
    Dim chosen, layers, layer, i
    Set chosen = ActiveSelectionRange
    If chosen.Count > 0 Then
        ExportShapes chosen
        Exit Sub
    End If
    Set layers = ActivePage.Layers
    For i = 1 To layers.Count
        Set layer = layers.Item(i)
        If IsLayerCut(layer) Then ExportShapes layer.Shapes.All
    Next
End Sub

' Whether a layer's shapes are cut: not guides, grid or desktop, and both shown and
' printed. A state that cannot be read counts as shown and printed.
Private Function IsLayerCut(layer)
    Dim special, shown, printed
    On Error Resume Next
    special = False
    shown = True
    printed = True
    special = layer.IsSpecialLayer
    shown = layer.Visible
    printed = layer.Printable
    Err.Clear
    IsLayerCut = Not CBool(special) And CBool(shown) And CBool(printed)
End Function

Private Sub ExportShapes(shapeList)
    Dim i
    For i = 1 To shapeList.Count
        If m_problem <> "" Then Exit Sub
        ExportShape shapeList.Item(i)
    Next
End Sub

' A group by its children, depth first; a curve as it is; kinds without a cuttable outline
' left out and counted, guidelines left out silently; any other shape through its outline
' as displayed. A PowerClip's contents follow the outline of the shape that holds them.
Private Sub ExportShape(shp)
    Dim kind, crv, clip
    kind = shp.Type
    If kind = SHAPE_GROUP Then
        ExportShapes shp.Shapes.All
    ElseIf kind = SHAPE_CURVE Then
        Set crv = CurveOf(shp)
        If crv Is Nothing Then
            LeaveOut kind
        Else
            ExportCurve crv
        End If
    ElseIf IsNeverCut(kind) Then
        LeaveOut kind
    ElseIf kind <> SHAPE_GUIDELINE Then
        Set crv = DisplayedOutline(shp)
        If crv Is Nothing Then
            ExportConverted shp, kind
        Else
            ExportCurve crv
        End If
    End If
    Set clip = PowerClipOf(shp)
    If Not clip Is Nothing Then ExportShapes clip.Shapes.All
End Sub

' Bitmaps, OLE objects, drop shadows, 3D, HTML and EPS objects: no outline to cut.
Private Function IsNeverCut(kind)
    Select Case kind
        Case 5, 12, 16, 17, 24, 25, 27
            IsNeverCut = True
        Case Else
            IsNeverCut = False
    End Select
End Function

' The shape's curve, or Nothing when it cannot be read.
Private Function CurveOf(shp)
    On Error Resume Next
    Set CurveOf = Nothing
    Set CurveOf = shp.Curve
    If Err.Number <> 0 Then Set CurveOf = Nothing
    Err.Clear
End Function

' The outline as CorelDRAW displays it, read without changing the drawing; Nothing where
' this version has no DisplayCurve or the shape gives none.
Private Function DisplayedOutline(shp)
    On Error Resume Next
    Set DisplayedOutline = Nothing
    Set DisplayedOutline = shp.DisplayCurve
    If Err.Number <> 0 Then Set DisplayedOutline = Nothing
    Err.Clear
End Function

' The shape's PowerClip, or Nothing when it has none (or cannot have one).
Private Function PowerClipOf(shp)
    On Error Resume Next
    Set PowerClipOf = Nothing
    Set PowerClipOf = shp.PowerClip
    If Err.Number <> 0 Then Set PowerClipOf = Nothing
    Err.Clear
End Function

' The outline of a shape read from a copy converted to curves, walked like a group when
' the conversion gives one; left out and counted when there is no such copy or it has no
' curve. The copy is deleted whatever happens, so the user's shapes stay as they were.
Private Sub ExportConverted(shp, kind)
    Dim copy, pieces, crv
    On Error Resume Next
    Set copy = ConvertedCopy(shp)
    If copy Is Nothing Then
        LeaveOut kind
        Exit Sub
    End If
    Set pieces = ChildrenOf(copy)
    Set crv = Nothing
    If pieces Is Nothing Then Set crv = CurveOf(copy)
    If Not pieces Is Nothing Then
        ExportShapes pieces
    ElseIf crv Is Nothing Then
        LeaveOut kind
    Else
        ExportCurve crv
    End If
    NoteError
    copy.Delete
    NoteError
End Sub

' A copy of the shape converted to curves, or Nothing when it cannot be made (a locked
' layer refuses copies, some kinds refuse conversion). The first copy begins the export's
' undo step, so that an export without copies leaves the drawing untouched.
Private Function ConvertedCopy(shp)
    Dim copy
    On Error Resume Next
    Set ConvertedCopy = Nothing
    If Not m_grouped Then
        m_document.BeginCommandGroup UNDO_NAME
        m_grouped = True
        Err.Clear
    End If
    Set copy = Nothing
    Set copy = shp.Duplicate
    If Err.Number = 0 And Not copy Is Nothing Then
        copy.ConvertToCurves
        If Err.Number = 0 Then
            Set ConvertedCopy = copy
        Else
            Err.Clear
            copy.Delete
            NoteError
        End If
    End If
    Err.Clear
End Function

' A fixed range of the shape's children, or Nothing when it has none.
Private Function ChildrenOf(shp)
    Dim children
    On Error Resume Next
    Set ChildrenOf = Nothing
    Set children = Nothing
    Set children = shp.Shapes.All
    If Err.Number = 0 And Not children Is Nothing Then
        If children.Count > 0 Then Set ChildrenOf = children
    End If
    Err.Clear
End Function

' Counts a shape left out, by the name of its kind.
Private Sub LeaveOut(kind)
    Dim name
    name = KindName(kind)
    m_leftOut(name) = m_leftOut(name) + 1
    m_leftTotal = m_leftTotal + 1
End Sub

Private Function KindName(kind)
    Select Case kind
        Case 1: KindName = "rectangle"
        Case 2: KindName = "ellipse"
        Case 3: KindName = "curve"
        Case 4: KindName = "polygon"
        Case 5: KindName = "bitmap"
        Case 6: KindName = "text object"
        Case 10: KindName = "blend"
        Case 11: KindName = "extrusion"
        Case 12: KindName = "OLE object"
        Case 13: KindName = "contour"
        Case 14: KindName = "dimension"
        Case 15: KindName = "bevel"
        Case 16: KindName = "drop shadow"
        Case 17: KindName = "3D object"
        Case 18: KindName = "artistic media object"
        Case 19: KindName = "connector"
        Case 20: KindName = "mesh fill"
        Case 21: KindName = "custom shape"
        Case 22: KindName = "custom effect"
        Case 23: KindName = "symbol"
        Case 24, 25: KindName = "HTML object"
        Case 26: KindName = "perfect shape"
        Case 27: KindName = "EPS object"
        Case Else: KindName = "other object"
    End Select
End Function

' "2 bitmaps, 1 symbol": what was left out, kind by kind, in the order first met.
Private Function LeftOutList()
    Dim name, list
    list = ""
    For Each name In m_leftOut.Keys
        If list <> "" Then list = list & ", "
        list = list & Counted(m_leftOut(name), name)
    Next
    LeftOutList = list
End Function

' "1 bitmap", "2 bitmaps".
Private Function Counted(number, noun)
    If number = 1 Then
        Counted = "1 " & noun
    Else
        Counted = number & " " & noun & "s"
    End If
End Function

' Keeps the first failure's description for the message, and clears it.
Private Sub NoteError()
    If Err.Number <> 0 And m_problem = "" Then m_problem = Err.Description
    If Err.Number <> 0 And m_problem = "" Then m_problem = "error " & Err.Number
    Err.Clear
End Sub

' Each subpath with segments: a pen-up to its start, a command per segment, and for a
' closed subpath whose last segment does not end at its start, a line back to it. Each
' member is read once per segment, since every read is a call into CorelDRAW.
Private Sub ExportCurve(crv)
    Dim paths, path, segments, seg, node, count, i, j, startX, startY, endX, endY
    Set paths = crv.SubPaths
    For i = 1 To paths.Count
        Set path = paths.Item(i)
        Set segments = path.Segments
        count = segments.Count
        If count > 0 Then
            Set seg = segments.Item(1)
            Set node = seg.StartNode
            startX = Units(node.PositionX)
            startY = Units(node.PositionY)
            WriteCommand "PU" & startX & "," & startY
            For j = 1 To count
                If j > 1 Then Set seg = segments.Item(j)
                Set node = seg.EndNode
                endX = Units(node.PositionX)
                endY = Units(node.PositionY)
                If seg.Type = SEGMENT_CURVE Then
                    WriteCommand "BZ" & Units(seg.StartingControlPointX) & "," & Units(seg.StartingControlPointY) _
                        & "," & Units(seg.EndingControlPointX) & "," & Units(seg.EndingControlPointY) _
                        & "," & endX & "," & endY
                Else
                    WriteCommand "PD" & endX & "," & endY
                End If
            Next
            If endX <> startX Or endY <> startY Then
                If path.Closed Then WriteCommand "PD" & startX & "," & startY
            End If
        End If
    Next
End Sub

' Millimetres as whole plotter units, rounded to the nearest.
Private Function Units(millimetres)
    Units = CLng(millimetres * UNITS_PER_MILLIMETRE)
End Function

Private Sub WriteCommand(command)
    m_stream.Write command & ";" & vbCrLf
    m_count = m_count + 1
End Sub

Private Function Quoted(value)
    Quoted = Chr(34) & value & Chr(34)
End Function

Private Sub Tell(message)
    MsgBox message, ICON_EXCLAMATION, MESSAGE_TITLE
End Sub
