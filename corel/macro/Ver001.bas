Attribute VB_Name = "Ver001"
' The toolbar button's macro: writes the outlines of the selected shapes (of every shape on
' the active page when nothing is selected) to an exchange file in the user's temporary
' folder and starts Plotgate with its path. The file, in 1/40 mm, one command a line:
'
'   IN;SP1;
'   PU0,0;                          pen up to a subpath's first node
'   PD4000,0;                       a line segment to its end node
'   BZ4000,2000,2000,4000,0,4000;   a curve: first control point, second, end node
'   PD0,0;                          a closed subpath's closing line, when it has none
'   SP0;
'
' Written in the part of VBA that VBScript runs too (no declared types, no file statements,
' no jumps on error, no names from CorelDRAW's type library), so that this very source is
' tested outside CorelDRAW against a model of its object model.
Option Explicit

Private Const UNIT_MILLIMETRE = 3
Private Const SHAPE_CURVE = 3
Private Const SHAPE_BITMAP = 5
Private Const SHAPE_GROUP = 7
Private Const SHAPE_GUIDELINE = 9
Private Const SEGMENT_CURVE = 1
Private Const UNITS_PER_MILLIMETRE = 40
Private Const TEMPORARY_FOLDER = 2
Private Const ICON_EXCLAMATION = 48
Private Const WINDOW_NORMAL = 1

' Where the installer, or "Plotgate.exe /RegCorelWorkSpace", records the program.
Private Const PLOTGATE_PATH_VALUE = "HKCU\Software\Meridal\Plotgate\Path"
Private Const EXCHANGE_FILE_NAME = "MeridalCut.plt"
Private Const MESSAGE_TITLE = "Plotgate"
Private Const UNDO_NAME = "Plotgate export"

Private Const NO_DOCUMENT_TEXT = "There is no drawing to cut: open or create a document in CorelDRAW first."
Private Const NOTHING_TO_CUT_TEXT = "There is nothing to cut: select the shapes to cut, or draw them on the active page. Bitmaps and guidelines are not cut."
Private Const NOT_INSTALLED_TEXT = "Plotgate is not installed: run its installer, or run ""Plotgate.exe /RegCorelWorkSpace"" once in the folder that holds it."
Private Const FAILED_TEXT = "Plotgate could not export the drawing: "

Private m_stream   ' the exchange file while it is written
Private m_count    ' the drawing commands written so far
Private m_problem  ' what went wrong first; "" while all is well

' The toolbar button's command: exports the drawing and starts Plotgate on it.
Public Sub MeridalCut()
    Dim doc, program, fso, jobPath, problem
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
    If problem <> "" Then
        Err.Clear
        If fso.FileExists(jobPath) Then fso.DeleteFile jobPath, True
        Tell problem
        Exit Sub
    End If
    Err.Clear
    CreateObject("WScript.Shell").Run Quoted(program) & " " & Quoted(jobPath), WINDOW_NORMAL, False
    If Err.Number <> 0 Then Tell FAILED_TEXT & "could not start " & program & ": " & Err.Description
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

' Writes the exchange file at jobPath in millimetres, the document's own unit put back
' after, all in one undo step. Gives "" when the file holds something to cut, else the
' message to show.
Private Function ExportDrawing(doc, fso, jobPath)
    Dim savedUnit
    On Error Resume Next
    m_count = 0
    m_problem = ""
    If fso.FileExists(jobPath) Then fso.DeleteFile jobPath, True
    If Err.Number = 0 Then Set m_stream = fso.CreateTextFile(jobPath)
    If Err.Number <> 0 Then
        ExportDrawing = FAILED_TEXT & "could not write " & jobPath & ": " & Err.Description
        Exit Function
    End If
    m_stream.Write "IN;SP1;" & vbCrLf
    savedUnit = doc.Unit
    If Err.Number = 0 Then
        doc.BeginCommandGroup UNDO_NAME
        doc.Unit = UNIT_MILLIMETRE
        If Err.Number = 0 Then ExportShapes ShapesToCut()
        NoteError
        doc.Unit = savedUnit
        NoteError
        doc.EndCommandGroup
    End If
    NoteError
    m_stream.Write "SP0;" & vbCrLf
    m_stream.Close
    NoteError
    Set m_stream = Nothing
    If m_problem <> "" Then
        ExportDrawing = FAILED_TEXT & m_problem
    ElseIf m_count = 0 Then
        ExportDrawing = NOTHING_TO_CUT_TEXT
    Else
        ExportDrawing = ""
    End If
End Function

' The selection in its order, or every shape of the active page when nothing is selected;
' both as a fixed range, since exporting adds and deletes shapes on the page.
Private Function ShapesToCut()
    Dim chosen
    Set chosen = ActiveSelectionRange
    If chosen.Count > 0 Then
        Set ShapesToCut = chosen
    Else
        Set ShapesToCut = ActivePage.Shapes.All
    End If
End Function

Private Sub ExportShapes(shapeList)
    Dim i
    For i = 1 To shapeList.Count
        If m_problem <> "" Then Exit Sub
        ExportShape shapeList.Item(i)
    Next
End Sub

' A group by its children, depth first; a curve as it is; bitmaps and guidelines not at
' all; any other shape through a converted copy. A PowerClip's contents follow the outline
' of the shape that holds them.
Private Sub ExportShape(shp)
    Dim kind, clip
    kind = shp.Type
    If kind = SHAPE_GUIDELINE Then Exit Sub
    If kind = SHAPE_GROUP Then
        ExportShapes shp.Shapes.All
    ElseIf kind = SHAPE_CURVE Then
        ExportCurve shp.Curve
    ElseIf kind <> SHAPE_BITMAP Then
        ExportConverted shp
    End If
    Set clip = PowerClipOf(shp)
    If Not clip Is Nothing Then ExportShapes clip.Shapes.All
End Sub

' The shape's PowerClip, or Nothing when it has none (or cannot have one).
Private Function PowerClipOf(shp)
    On Error Resume Next
    Set PowerClipOf = Nothing
    Set PowerClipOf = shp.PowerClip
    If Err.Number <> 0 Then Set PowerClipOf = Nothing
    Err.Clear
End Function

' The outline of a shape that is not a curve, read from a copy converted to curves; the
' copy is deleted whatever happens, so the user's shapes stay as they were.
Private Sub ExportConverted(shp)
    Dim copy
    On Error Resume Next
    Set copy = shp.Duplicate
    If Err.Number <> 0 Then
        NoteError
        Exit Sub
    End If
    copy.ConvertToCurves
    If Err.Number = 0 Then ExportCurve copy.Curve
    NoteError
    copy.Delete
    NoteError
End Sub

' Keeps the first failure's description for the message, and clears it.
Private Sub NoteError()
    If Err.Number <> 0 And m_problem = "" Then m_problem = Err.Description
    If Err.Number <> 0 And m_problem = "" Then m_problem = "error " & Err.Number
    Err.Clear
End Sub

' Each subpath with segments: a pen-up to its start, a command per segment, and for a
' closed subpath whose last segment does not end at its start, a line back to it.
Private Sub ExportCurve(crv)
    Dim paths, segments, seg, i, j, startX, startY, endX, endY
    Set paths = crv.SubPaths
    For i = 1 To paths.Count
        Set segments = paths.Item(i).Segments
        If segments.Count > 0 Then
            Set seg = segments.Item(1)
            startX = Units(seg.StartNode.PositionX)
            startY = Units(seg.StartNode.PositionY)
            WriteCommand "PU" & startX & "," & startY
            For j = 1 To segments.Count
                Set seg = segments.Item(j)
                endX = Units(seg.EndNode.PositionX)
                endY = Units(seg.EndNode.PositionY)
                If seg.Type = SEGMENT_CURVE Then
                    WriteCommand "BZ" & Units(seg.StartingControlPointX) & "," & Units(seg.StartingControlPointY) _
                        & "," & Units(seg.EndingControlPointX) & "," & Units(seg.EndingControlPointY) _
                        & "," & endX & "," & endY
                Else
                    WriteCommand "PD" & endX & "," & endY
                End If
            Next
            If paths.Item(i).Closed And (endX <> startX Or endY <> startY) Then
                WriteCommand "PD" & startX & "," & startY
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
