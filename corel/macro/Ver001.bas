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
' Shapes that are never cut (bitmaps, dimension lines...) are left out and counted; a shape
' whose outline cannot be read is too, and then the user is asked whether to cut the rest.
' AddButton and RemoveButton put a toolbar with the cutting button into CorelDRAW X8 and
' later, where the installer does not.
'
' AddMarks draws the registration marks of print and cut on the printable layer "Plotgate
' marks": a cross in a circle at three corners of what is cut (four on request), 10 mm
' outside it, each a group named "Plotgate mark N" (1 lower left, 2 lower right, 3 upper
' left, 4 upper right). The export never cuts that layer; it writes the centre of each of
' its marks after the first line, "RM1,-400,-400;", where Plotgate reads them; a mark the
' user drew, unnamed, is numbered by where it lies among the others.
'
' Written in the part of VBA that VBScript runs too (no declared types, no file statements,
' no jumps on error, no names from CorelDRAW's type library), so that this very source is
' tested outside CorelDRAW against a model of its object model. Every member is reached
' through an untyped variable, so late-bound: a member an older CorelDRAW lacks fails when
' it is called, where it is trapped, instead of breaking the whole project.
Option Explicit

Private Const UNIT_MILLIMETRE = 3
Private Const SEGMENT_CURVE = 1
Private Const UNITS_PER_MILLIMETRE = 40
Private Const TEMPORARY_FOLDER = 2
Private Const ICON_EXCLAMATION = 48
Private Const BUTTONS_OK_CANCEL = 1
Private Const ANSWER_OK = 1
Private Const WINDOW_NORMAL = 1

' The kinds of shape (Shape.Type), and the fill and outline type of a shape without them.
Private Const SHAPE_RECTANGLE = 1
Private Const SHAPE_ELLIPSE = 2
Private Const SHAPE_CURVE = 3
Private Const SHAPE_POLYGON = 4
Private Const SHAPE_BITMAP = 5
Private Const SHAPE_TEXT = 6
Private Const SHAPE_GROUP = 7
Private Const SHAPE_GUIDELINE = 9
Private Const SHAPE_BLEND = 10
Private Const SHAPE_EXTRUSION = 11
Private Const SHAPE_OLE = 12
Private Const SHAPE_CONTOUR = 13
Private Const SHAPE_DIMENSION = 14
Private Const SHAPE_BEVEL = 15
Private Const SHAPE_DROP_SHADOW = 16
Private Const SHAPE_3D = 17
Private Const SHAPE_ARTISTIC_MEDIA = 18
Private Const SHAPE_CONNECTOR = 19
Private Const SHAPE_MESH_FILL = 20
Private Const SHAPE_CUSTOM = 21
Private Const SHAPE_CUSTOM_EFFECT = 22
Private Const SHAPE_SYMBOL = 23
Private Const SHAPE_HTML_FORM = 24
Private Const SHAPE_HTML_ACTIVE = 25
Private Const SHAPE_PERFECT = 26
Private Const SHAPE_EPS = 27
Private Const FILL_NONE = 0
Private Const OUTLINE_NONE = 0

' Where the installer, or "Plotgate.exe /RegCorelWorkSpace", records the program.
Private Const PLOTGATE_PATH_VALUE = "HKCU\Software\Meridal\Plotgate\Path"
' The settings an export under way has changed, "" when none is: a run broken off
' (Ctrl+Break) leaves them for the next to put back.
Private Const EXPORT_STATE_VALUE = "HKCU\Software\Meridal\Plotgate\ExportState"
Private Const EXCHANGE_FILE_NAME = "MeridalCut.plt"
Private Const MESSAGE_TITLE = "Plotgate"
Private Const UNDO_NAME = "Plotgate export"

' The toolbar of AddButton: a floating bar kept between sessions, its button running the
' cutting macro from the macros category (the category our workspace files use), known
' again by its tag, which holds that macro's name.
Private Const TOOLBAR_NAME = "Plotgate"
Private Const BAR_FLOATING = 4
Private Const MACROS_CATEGORY = "2cc24a3e-fe24-4708-9a74-9c75406eebcd"
Private Const CUT_COMMAND = "MeridalVorn.Ver001.MeridalCut"
Private Const FIRST_VERSION_WITHOUT_INSTALLED_BUTTON = 18

Private Const NO_DOCUMENT_TEXT = "There is no drawing to cut: open or create a document in CorelDRAW first."
Private Const NOTHING_TO_CUT_TEXT = "There is nothing to cut: select the shapes to cut, or draw them on a visible, printable layer of the active page."
Private Const NOT_INSTALLED_TEXT = "Plotgate is not installed: run its installer, or run ""Plotgate.exe /RegCorelWorkSpace"" once in the folder that holds it."
Private Const FAILED_TEXT = "Plotgate could not export the drawing: "
Private Const SCALE_TEXT = "; check the size Plotgate shows before you cut."
Private Const BUTTON_INSTALLED_TEXT = "In this version of CorelDRAW the installer puts the toolbar with the Plotgate button in place, and uninstalling Plotgate takes it away."
Private Const BUTTON_ADDED_TEXT = "The toolbar ""Plotgate"" is in place: its button cuts the selected shapes, or the whole page."
Private Const BUTTON_REMOVED_TEXT = "The toolbar ""Plotgate"" is removed."
Private Const BUTTON_TAKEN_OFF_TEXT = "The Plotgate button is removed; the toolbar ""Plotgate"" keeps the buttons you put on it."
Private Const NO_BUTTON_TEXT = "There is no toolbar ""Plotgate"" to remove."
Private Const BUTTON_FAILED_TEXT = "Plotgate could not change its toolbar in this version of CorelDRAW: "

' The registration marks of AddMarks: on their own printable layer, each a cross of two
' lines in a circle, grouped and named with its number, placed this far (mm) outside the
' corners of what is cut.
Private Const MARKS_LAYER = "Plotgate marks"
Private Const MARK_NAME = "Plotgate mark "
Private Const MARK_MARGIN = 10
Private Const MARK_CROSS = 10
Private Const MARK_CIRCLE = 5
Private Const MARK_LINE_WIDTH = 0.3
Private Const MARKS_UNDO_NAME = "Plotgate marks"
Private Const ICON_QUESTION = 32
Private Const BUTTONS_YES_NO = 4
Private Const ANSWER_YES = 6
Private Const FOURTH_MARK_TEXT = "Add a fourth mark at the upper right? With four marks Plotgate can tell how well the sheet fits."
Private Const NOTHING_TO_MARK_TEXT = "There is nothing to place marks around: select the shapes to cut, or draw them on a visible, printable layer of the active page."
Private Const MARKS_FAILED_TEXT = "Plotgate could not draw the registration marks: "

Private m_stream    ' the exchange file while it is written
Private m_count     ' the drawing commands written so far
Private m_problem   ' what went wrong first; "" while all is well
Private m_document  ' the document being exported
Private m_grouped   ' whether the export's undo step has begun (copies were made)
Private m_selection ' the user's selection, or Nothing when nothing was selected
Private m_leftOut   ' kind name -> how many shapes of that kind were left out
Private m_leftTotal ' how many shapes were left out
Private m_missed    ' how many of them should have cut (not of a kind that never cuts)

' The toolbar button's command: exports the drawing and starts Plotgate on it.
Public Sub MeridalCut()
    Dim doc, program, fso, jobPath, problem, wanted
    On Error Resume Next
    PutBackBrokenOffExport
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
    If wanted And m_missed > 0 Then
        wanted = (MsgBox("Plotgate cannot cut " & Counted(m_leftTotal, "object") & " of the drawing: " _
            & LeftOutList() & ". Cut the rest?", ICON_EXCLAMATION + BUTTONS_OK_CANCEL, MESSAGE_TITLE) = ANSWER_OK)
    End If
    If Not wanted Then
        Err.Clear
        If fso.FileExists(jobPath) Then fso.DeleteFile jobPath, True
        Exit Sub
    End If
    TellScale doc
    Err.Clear
    CreateObject("WScript.Shell").Run Quoted(program) & " " & Quoted(jobPath), WINDOW_NORMAL, False
    If Err.Number <> 0 Then Tell FAILED_TEXT & "could not start " & program & ": " & Err.Description
End Sub

' Run once in CorelDRAW X8 and later: makes the floating toolbar "Plotgate" with one button
' that cuts, with Plotgate's icon where this version can set one. Running it again adds
' nothing. On a toolbar of that name that the user made, the button is added beside theirs.
Public Sub AddButton()
    Dim bars, bar, place, button
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
    place = 0
    If Err.Number = 0 Then place = PlaceOfButton(bar)
    If Err.Number = 0 And place = 0 Then
        Set button = bar.Controls.AddCustomButton(MACROS_CATEGORY, CUT_COMMAND)
        If Err.Number = 0 Then button.Tag = CUT_COMMAND
        If Err.Number = 0 Then button.Caption = TOOLBAR_NAME
        If Err.Number = 0 Then button.ToolTipText = TOOLBAR_NAME
        If Err.Number = 0 Then GiveIcon button
    End If
    If Err.Number = 0 Then bar.Visible = True
    If Err.Number <> 0 Then
        Tell BUTTON_FAILED_TEXT & Err.Description
    Else
        Tell BUTTON_ADDED_TEXT
    End If
    Err.Clear
End Sub

' Takes the button of AddButton away again, and its toolbar when nothing else is on it; to
' be run before uninstalling Plotgate. Buttons of the user's own are left where they are.
Public Sub RemoveButton()
    Dim bars, bar, place, remaining
    On Error Resume Next
    If InstallerPutsButton() Then
        Tell BUTTON_INSTALLED_TEXT
        Exit Sub
    End If
    Err.Clear
    Set bar = Nothing
    place = 0
    Set bars = Host().CommandBars
    If Err.Number = 0 Then Set bar = ToolbarOf(bars)
    If Err.Number = 0 And Not bar Is Nothing Then place = PlaceOfButton(bar)
    If Err.Number = 0 And place = 0 Then
        Tell NO_BUTTON_TEXT
        Exit Sub
    End If
    If Err.Number = 0 Then bar.Controls.Item(place).Delete
    remaining = 1
    If Err.Number = 0 Then remaining = bar.Controls.Count
    If Err.Number = 0 And remaining = 0 Then bar.Delete
    If Err.Number <> 0 Then
        Tell BUTTON_FAILED_TEXT & Err.Description
    ElseIf remaining = 0 Then
        Tell BUTTON_REMOVED_TEXT
    Else
        Tell BUTTON_TAKEN_OFF_TEXT
    End If
    Err.Clear
End Sub

' Draws the registration marks around the selection, or with nothing selected around the
' shapes that would be cut, on the layer "Plotgate marks" (made when missing); marks drawn
' before are replaced. Asks whether to add the fourth. One undo step; the document's unit
' is put back.
Public Sub AddMarks()
    Dim doc, box, layer, count, i, savedUnit
    On Error Resume Next
    Set doc = Nothing
    Set doc = ActiveDocument
    If doc Is Nothing Then
        Tell NO_DOCUMENT_TEXT
        Exit Sub
    End If
    Err.Clear
    m_problem = ""
    savedUnit = doc.Unit
    doc.Unit = UNIT_MILLIMETRE
    NoteError
    box = Empty
    If m_problem = "" Then box = MarkedBox()
    If m_problem = "" And IsEmpty(box) Then
        doc.Unit = savedUnit
        Tell NOTHING_TO_MARK_TEXT
        Exit Sub
    End If
    count = 3
    If m_problem = "" Then
        If MsgBox(FOURTH_MARK_TEXT, ICON_QUESTION + BUTTONS_YES_NO, MESSAGE_TITLE) = ANSWER_YES Then count = 4
        doc.BeginCommandGroup MARKS_UNDO_NAME
        Set layer = MarksLayer()
        NoteError
        If m_problem = "" Then RemoveMarks layer
        For i = 1 To count
            If m_problem = "" Then DrawMark layer, i, box
        Next
        doc.EndCommandGroup
    End If
    doc.Unit = savedUnit
    NoteError
    If m_problem <> "" Then Tell MARKS_FAILED_TEXT & m_problem
    Err.Clear
End Sub

' The bounds (mm) that the marks go around, as Array(left, bottom, right, top): of the
' selection, else of the shapes that would be cut; the marks' own layer and marks in the
' selection left out. Empty when there is nothing.
Private Function MarkedBox()
    Dim chosen, layers, layer, i, box
    box = Empty
    Set chosen = ActiveSelectionRange
    If chosen.Count > 0 Then
        For i = 1 To chosen.Count
            If Not IsMark(chosen.Item(i)) Then box = Widened(box, chosen.Item(i))
        Next
    Else
        Set layers = EveryLayer()
        If layers Is Nothing Then Set layers = ActivePage.Layers
        For i = 1 To layers.Count
            Set layer = layers.Item(i)
            If IsLayerCut(layer) And layer.Name <> MARKS_LAYER Then box = WidenedByAll(box, layer.Shapes.All)
        Next
    End If
    NoteError
    MarkedBox = box
End Function

' `box` widened to take in every shape of `shapeList`.
Private Function WidenedByAll(box, shapeList)
    Dim i
    For i = 1 To shapeList.Count
        box = Widened(box, shapeList.Item(i))
    Next
    WidenedByAll = box
End Function

' `box` (Empty for none yet) widened to take in the shape's bounds; as it was for a shape
' whose bounds cannot be read.
Private Function Widened(box, shp)
    Dim l, b, r, t
    On Error Resume Next
    Widened = box
    l = shp.LeftX
    b = shp.BottomY
    r = shp.RightX
    t = shp.TopY
    If Err.Number <> 0 Then
        Err.Clear
        Exit Function
    End If
    If Not IsEmpty(box) Then
        If box(0) < l Then l = box(0)
        If box(1) < b Then b = box(1)
        If box(2) > r Then r = box(2)
        If box(3) > t Then t = box(3)
    End If
    Widened = Array(l, b, r, t)
End Function

' The layer "Plotgate marks" of the active page, shown and printed; made when missing.
Private Function MarksLayer()
    Dim layer
    Set layer = LayerNamed(MARKS_LAYER)
    If layer Is Nothing Then Set layer = ActivePage.CreateLayer(MARKS_LAYER)
    layer.Visible = True
    layer.Printable = True
    Set MarksLayer = layer
End Function

' The active page's layer of that name, or Nothing.
Private Function LayerNamed(name)
    Dim layers, i
    Set LayerNamed = Nothing
    Set layers = ActivePage.Layers
    For i = 1 To layers.Count
        If layers.Item(i).Name = name Then
            Set LayerNamed = layers.Item(i)
            Exit Function
        End If
    Next
End Function

' Deletes the marks AddMarks drew before (the shapes of the layer named as a mark).
Private Sub RemoveMarks(layer)
    Dim shapeList, i
    Set shapeList = layer.Shapes.All
    For i = 1 To shapeList.Count
        If MarkNumber(shapeList.Item(i)) > 0 Then shapeList.Item(i).Delete
    Next
    NoteError
End Sub

' Draws mark n at its corner of `box`: a circle and two lines, grouped and named.
Private Sub DrawMark(layer, n, box)
    Dim x, y, half, parts, mark
    x = box(0) - MARK_MARGIN
    If n = 2 Or n = 4 Then x = box(2) + MARK_MARGIN
    y = box(1) - MARK_MARGIN
    If n >= 3 Then y = box(3) + MARK_MARGIN
    half = MARK_CROSS / 2
    Set parts = Host().CreateShapeRange
    parts.Add MarkPart(layer.CreateEllipse2(x, y, MARK_CIRCLE / 2))
    parts.Add MarkPart(layer.CreateLineSegment(x - half, y, x + half, y))
    parts.Add MarkPart(layer.CreateLineSegment(x, y - half, x, y + half))
    Set mark = parts.Group
    mark.Name = MARK_NAME & n
    NoteError
End Sub

' A part of a mark, its outline given the marks' width.
Private Function MarkPart(shp)
    shp.Outline.Width = MARK_LINE_WIDTH
    Set MarkPart = shp
End Function

' The number in a mark's name, "Plotgate mark 2"; 0 for any other name.
Private Function MarkNumber(shp)
    Dim name
    On Error Resume Next
    MarkNumber = 0
    name = ""
    name = CStr(shp.Name)
    If Len(name) = Len(MARK_NAME) + 1 And Left(name, Len(MARK_NAME)) = MARK_NAME Then
        If InStr("1234", Right(name, 1)) > 0 Then MarkNumber = CInt(Right(name, 1))
    End If
    Err.Clear
End Function

' Whether a shape lies on the marks' layer. One whose layer cannot be read is not a mark.
Private Function IsMark(shp)
    On Error Resume Next
    IsMark = False
    IsMark = (shp.Layer.Name = MARKS_LAYER)
    Err.Clear
End Function

' Writes "RMn,x,y;" for each mark of the marks' layer: its number from its name, or, for
' one unnamed, from where its centre lies against the middle of all the marks' centres
' (left or right, below or above); each number once. Nothing when the page has no such
' layer. Two walks of the layer: the middle and the names first, then the marks.
Private Sub WriteMarks()
    Dim layer, shapeList, i, count, x, y, midX, midY, taken(4), n
    Set layer = LayerNamed(MARKS_LAYER)
    If layer Is Nothing Then Exit Sub
    Set shapeList = layer.Shapes.All
    count = shapeList.Count
    midX = 0
    midY = 0
    For i = 1 To count
        midX = midX + MarkCentre(shapeList.Item(i), 0) / count
        midY = midY + MarkCentre(shapeList.Item(i), 1) / count
        n = MarkNumber(shapeList.Item(i))
        If n > 0 Then taken(n) = True
    Next
    For i = 1 To count
        x = MarkCentre(shapeList.Item(i), 0)
        y = MarkCentre(shapeList.Item(i), 1)
        n = MarkNumber(shapeList.Item(i))
        If n = 0 Then
            n = 1
            If x > midX Then n = n + 1
            If y > midY Then n = n + 2
            If taken(n) Then n = 0
            If n > 0 Then taken(n) = True
        End If
        If n > 0 Then m_stream.Write "RM" & n & "," & Units(x) & "," & Units(y) & ";" & vbCrLf
    Next
End Sub

' The centre of a mark's bounds: its x for `axis` 0, its y for 1.
Private Function MarkCentre(shp, axis)
    If axis = 0 Then
        MarkCentre = (shp.LeftX + shp.RightX) / 2
    Else
        MarkCentre = (shp.BottomY + shp.TopY) / 2
    End If
End Function

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

' The toolbar named "Plotgate" that holds our button, else the first of that name (one the
' user made), else Nothing. Raises when `bars` cannot be read.
Private Function ToolbarOf(bars)
    Dim i, count, bar
    Set ToolbarOf = Nothing
    count = bars.Count
    For i = 1 To count
        Set bar = bars.Item(i)
        If bar.Name = TOOLBAR_NAME Then
            If PlaceOfButton(bar) > 0 Then
                Set ToolbarOf = bar
                Exit Function
            End If
            If ToolbarOf Is Nothing Then Set ToolbarOf = bar
        End If
    Next
End Function

' Where our button is on `bar`, from 1; 0 when it is not there. Raises when the bar's
' buttons cannot be read.
Private Function PlaceOfButton(bar)
    Dim buttons, i, count
    PlaceOfButton = 0
    Set buttons = bar.Controls
    count = buttons.Count
    For i = 1 To count
        If IsOurButton(buttons.Item(i)) Then
            PlaceOfButton = i
            Exit Function
        End If
    Next
End Function

' Whether a button is ours: its tag, or the command it runs (for a button made before
' buttons were tagged), is the cutting macro. What cannot be read is not ours.
Private Function IsOurButton(button)
    Dim ours
    On Error Resume Next
    ours = False
    ours = (CStr(button.Tag) = CUT_COMMAND)
    Err.Clear
    If Not ours Then ours = (CStr(button.ID) = CUT_COMMAND)
    IsOurButton = ours
    Err.Clear
End Function

' Gives the button Plotgate's icon, the one of the program its set-up recorded; a version
' without SetIcon2 keeps its plain button.
Private Sub GiveIcon(button)
    Dim program
    On Error Resume Next
    program = PlotgateProgram(CreateObject("Scripting.FileSystemObject"))
    If program <> "" Then button.SetIcon2 program
    Err.Clear
End Sub

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

' Says the drawing's scale when it is not 1:1, since Plotgate cuts the sizes on the page.
Private Sub TellScale(doc)
    Dim ratio
    On Error Resume Next
    ratio = 1
    ratio = CDbl(doc.WorldScale)
    If Err.Number = 0 And ratio > 0 And ratio <> 1 Then
        If ratio > 1 Then
            Tell "The drawing's scale is 1:" & Round(ratio, 4) & SCALE_TEXT
        Else
            Tell "The drawing's scale is " & Round(1 / ratio, 4) & ":1" & SCALE_TEXT
        End If
    End If
    Err.Clear
End Sub

' Writes the exchange file at jobPath in millimetres, with screen updates, events and the
' selection's upkeep off, the settings and the selection put back after, whatever
' happened; while they are changed, the registry holds them for a run broken off. Gives ""
' when the file holds something to cut, else the message to show.
Private Function ExportDrawing(doc, fso, jobPath)
    Dim app, saved
    On Error Resume Next
    m_count = 0
    m_problem = ""
    m_leftTotal = 0
    m_missed = 0
    m_grouped = False
    Set m_selection = Nothing
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
    saved = SettingsOf(app, doc)
    KeepExportState StateText(saved)
    SpeedUp app, doc, saved
    If IsEmpty(saved(3)) Then
        m_problem = "the document's unit cannot be read"
    Else
        doc.Unit = UNIT_MILLIMETRE
        If Err.Number = 0 Then WriteMarks
        NoteError
        If m_problem = "" Then ExportChosenShapes
        NoteError
    End If
    If m_grouped Then doc.EndCommandGroup
    NoteError
    GiveSelectionBack
    PutBack app, doc, saved
    KeepExportState ""
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

' What an export changes, as it is: Optimization, EventsEnabled, PreserveSelection, the
' unit, then the document's name, to know the document again; Empty for what this
' version lacks or cannot read.
Private Function SettingsOf(app, doc)
    Dim saved(4)
    On Error Resume Next
    saved(0) = app.Optimization
    Err.Clear
    saved(1) = app.EventsEnabled
    Err.Clear
    saved(2) = doc.PreserveSelection
    Err.Clear
    saved(3) = doc.Unit
    Err.Clear
    saved(4) = doc.Name
    Err.Clear
    SettingsOf = saved
End Function

' Switches off the screen updates, events and selection upkeep that slow a long export;
' a setting this version lacks is left alone.
Private Sub SpeedUp(app, doc, saved)
    On Error Resume Next
    If Not IsEmpty(saved(0)) Then app.Optimization = True
    Err.Clear
    If Not IsEmpty(saved(1)) Then app.EventsEnabled = False
    Err.Clear
    If Not IsEmpty(saved(2)) Then doc.PreserveSelection = False
    Err.Clear
End Sub

' Puts back the settings of SettingsOf (but the name), each one that was read, and redraws
' the screen.
Private Sub PutBack(app, doc, saved)
    On Error Resume Next
    If Not IsEmpty(saved(0)) Then app.Optimization = saved(0)
    If Not IsEmpty(saved(1)) Then app.EventsEnabled = saved(1)
    If Not IsEmpty(saved(2)) Then doc.PreserveSelection = saved(2)
    If Not IsEmpty(saved(3)) Then doc.Unit = saved(3)
    app.Refresh
    Err.Clear
End Sub

' The settings of SettingsOf as one line for the registry, "1;0;1;1;Graphic1": a setting
' not read is an empty field, the name comes last, whatever it holds.
Private Function StateText(saved)
    Dim state, i
    state = ""
    For i = 0 To 3
        If IsEmpty(saved(i)) Then
        ElseIf i = 3 Then
            state = state & CLng(saved(i))
        ElseIf saved(i) Then
            state = state & "1"
        Else
            state = state & "0"
        End If
        state = state & ";"
    Next
    StateText = state & saved(4)
End Function

' The settings that StateText wrote.
Private Function StateFrom(state)
    Dim parts, saved(4), i
    parts = Split(state, ";", 5)
    For i = 0 To UBound(parts)
        If parts(i) = "" Then
        ElseIf i = 4 Then
            saved(4) = parts(4)
        ElseIf i = 3 Then
            saved(3) = CLng(parts(3))
        Else
            saved(i) = (parts(i) = "1")
        End If
    Next
    StateFrom = saved
End Function

' Writes the settings of an export under way to the registry, or "" when it is over (the
' script host cannot delete a value, so it is emptied).
Private Sub KeepExportState(state)
    On Error Resume Next
    CreateObject("WScript.Shell").RegWrite EXPORT_STATE_VALUE, state, "REG_SZ"
    Err.Clear
End Sub

' A run broken off halfway left its settings in the registry: puts them back, the
' document's own only when the same document is active, and clears them. A record that
' cannot be read is cleared all the same.
Private Sub PutBackBrokenOffExport()
    Dim state, saved, doc, docName
    On Error Resume Next
    state = ""
    state = CStr(CreateObject("WScript.Shell").RegRead(EXPORT_STATE_VALUE))
    Err.Clear
    If state = "" Then Exit Sub
    saved = StateFrom(state)
    If Err.Number = 0 And IsArray(saved) Then
        Set doc = Nothing
        Set doc = ActiveDocument
        docName = ""
        docName = CStr(doc.Name)
        If doc Is Nothing Or docName <> CStr(saved(4)) Then
            saved(2) = Empty
            saved(3) = Empty
        End If
        PutBack Host(), doc, saved
    End If
    KeepExportState ""
    Err.Clear
End Sub

' The selection in its order; with nothing selected, the shapes of the visible, printable
' layers of the active page and of its master pages. Each as a fixed range, since
' exporting may add and delete shapes on the page. The registration marks are never cut.
Private Sub ExportChosenShapes()
    Dim chosen, layers, layer, i
    Set chosen = ActiveSelectionRange
    If chosen.Count > 0 Then
        Set m_selection = chosen
        For i = 1 To chosen.Count
            If m_problem <> "" Then Exit Sub
            If Not IsMark(chosen.Item(i)) Then ExportShape chosen.Item(i)
        Next
        Exit Sub
    End If
    Set layers = EveryLayer()
    If layers Is Nothing Then Set layers = ActivePage.Layers
    For i = 1 To layers.Count
        Set layer = layers.Item(i)
        If IsLayerCut(layer) And layer.Name <> MARKS_LAYER Then ExportShapes layer.Shapes.All
    Next
End Sub

' The active page's layers with the master layers, or Nothing where this version cannot
' list them.
Private Function EveryLayer()
    On Error Resume Next
    Set EveryLayer = Nothing
    Set EveryLayer = ActivePage.AllLayers
    If Err.Number <> 0 Then Set EveryLayer = Nothing
    Err.Clear
End Function

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

' Selects again what the user had selected, when copies made for the export took the
' selection, so that the next press cuts the same shapes.
Private Sub GiveSelectionBack()
    On Error Resume Next
    If m_grouped And Not m_selection Is Nothing Then m_selection.CreateSelection
    Set m_selection = Nothing
    Err.Clear
End Sub

Private Sub ExportShapes(shapeList)
    Dim i
    For i = 1 To shapeList.Count
        If m_problem <> "" Then Exit Sub
        ExportShape shapeList.Item(i)
    Next
End Sub

' A group by its children, depth first; kinds that are never cut left out and counted;
' guidelines, and shapes with neither fill nor outline (the path under fitted text, a
' helper frame), skipped; any other shape through its outline. A PowerClip's contents
' follow the shape that holds them, shown or not.
Private Sub ExportShape(shp)
    Dim kind, clip
    kind = shp.Type
    If kind = SHAPE_GROUP Then
        ExportShapes shp.Shapes.All
    ElseIf IsNeverCut(kind) Then
        LeaveOut kind, False
    ElseIf kind <> SHAPE_GUIDELINE Then
        If IsShown(shp) Then ExportOutline shp, kind
    End If
    Set clip = PowerClipOf(shp)
    If Not clip Is Nothing Then ExportShapes clip.Shapes.All
End Sub

' The outline as CorelDRAW displays it, for curves too (an envelope or a perspective
' changes that, not the curve); where there is none, or it is empty, a curve's own curve
' and any other shape's converted copy. Left out and counted when none of them gives one.
Private Sub ExportOutline(shp, kind)
    Dim written
    written = ExportedCurve(DisplayedOutline(shp))
    If written Then
    ElseIf kind = SHAPE_CURVE Then
        written = ExportedCurve(CurveOf(shp))
        If Not written Then LeaveOut kind, True
    Else
        ExportConverted shp, kind
    End If
End Sub

' Bitmaps, OLE objects, drop shadows, 3D, HTML and EPS objects, and dimension lines: not
' cuttable by nature, and never asked about on their own.
Private Function IsNeverCut(kind)
    Select Case kind
        Case SHAPE_BITMAP, SHAPE_OLE, SHAPE_DIMENSION, SHAPE_DROP_SHADOW, SHAPE_3D, SHAPE_HTML_FORM, SHAPE_HTML_ACTIVE, SHAPE_EPS
            IsNeverCut = True
        Case Else
            IsNeverCut = False
    End Select
End Function

' Whether a shape shows: it has a fill or an outline. One whose fill or outline cannot be
' read counts as shown.
Private Function IsShown(shp)
    Dim fillType, outlineType
    On Error Resume Next
    IsShown = True
    fillType = shp.Fill.Type
    If Err.Number = 0 And fillType = FILL_NONE Then
        outlineType = shp.Outline.Type
        If Err.Number = 0 Then IsShown = (outlineType <> OUTLINE_NONE)
    End If
    Err.Clear
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
    Dim copy, pieces, written
    On Error Resume Next
    Set copy = ConvertedCopy(shp)
    If copy Is Nothing Then
        LeaveOut kind, True
        Exit Sub
    End If
    Set pieces = ChildrenOf(copy)
    If pieces Is Nothing Then
        written = False
        written = ExportedCurve(CurveOf(copy))
        If Err.Number = 0 And Not written Then LeaveOut kind, True
    Else
        ExportShapes pieces
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

' Counts a shape left out, by the name of its kind; `missed` when it should have cut.
Private Sub LeaveOut(kind, missed)
    Dim name
    name = KindName(kind)
    m_leftOut(name) = m_leftOut(name) + 1
    m_leftTotal = m_leftTotal + 1
    If missed Then m_missed = m_missed + 1
End Sub

Private Function KindName(kind)
    Select Case kind
        Case SHAPE_RECTANGLE: KindName = "rectangle"
        Case SHAPE_ELLIPSE: KindName = "ellipse"
        Case SHAPE_CURVE: KindName = "curve"
        Case SHAPE_POLYGON: KindName = "polygon"
        Case SHAPE_BITMAP: KindName = "bitmap"
        Case SHAPE_TEXT: KindName = "text object"
        Case SHAPE_BLEND: KindName = "blend"
        Case SHAPE_EXTRUSION: KindName = "extrusion"
        Case SHAPE_OLE: KindName = "OLE object"
        Case SHAPE_CONTOUR: KindName = "contour"
        Case SHAPE_DIMENSION: KindName = "dimension"
        Case SHAPE_BEVEL: KindName = "bevel"
        Case SHAPE_DROP_SHADOW: KindName = "drop shadow"
        Case SHAPE_3D: KindName = "3D object"
        Case SHAPE_ARTISTIC_MEDIA: KindName = "artistic media object"
        Case SHAPE_CONNECTOR: KindName = "connector"
        Case SHAPE_MESH_FILL: KindName = "mesh fill"
        Case SHAPE_CUSTOM: KindName = "custom shape"
        Case SHAPE_CUSTOM_EFFECT: KindName = "custom effect"
        Case SHAPE_SYMBOL: KindName = "symbol"
        Case SHAPE_HTML_FORM, SHAPE_HTML_ACTIVE: KindName = "HTML object"
        Case SHAPE_PERFECT: KindName = "perfect shape"
        Case SHAPE_EPS: KindName = "EPS object"
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
' member is read once per segment, since every read is a call into CorelDRAW. False, and
' nothing written, for no curve or one without subpaths.
Private Function ExportedCurve(crv)
    Dim paths, path, segments, seg, node, count, i, j, startX, startY, endX, endY
    ExportedCurve = False
    If crv Is Nothing Then Exit Function
    Set paths = crv.SubPaths
    count = paths.Count
    If count = 0 Then Exit Function
    ExportedCurve = True
    For i = 1 To count
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
End Function

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
