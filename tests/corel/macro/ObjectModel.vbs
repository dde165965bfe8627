' A model of the part of CorelDRAW's object model that the export macro reads, for running
' the macro's own source under the Windows Script Host. Positions are kept in millimetres
' and given in the document's current unit (inches or millimetres), so a macro that does
' not switch to millimetres writes wrong numbers. It also keeps what a test checks: the
' messages shown, the unit's changes, the undo steps, the copies made and deleted, and any
' change to the user's own shapes.
'
'   Set doc = NewDocument(1)                   ' a document in inches, made active
'   Set crv = NewCurve()
'   Set path = crv.AddSubPath(10, 20, True)    ' starts at (10 mm, 20 mm), closed
'   path.LineTo 30, 20
'   path.CurveTo 35, 20, 40, 25, 40, 30        ' two control points, then the end
'   doc.ActivePage.Shapes.Hold NewShape("outline", MODEL_CURVE, crv)
'   MeridalCut
'   WScript.Echo Report()

Const MODEL_CURVE = 3
Const MODEL_ELLIPSE = 4
Const MODEL_BITMAP = 5
Const MODEL_TEXT = 6
Const MODEL_GROUP = 7
Const MODEL_GUIDELINE = 9

' What the host gives the macro.
Dim ActiveDocument, ActivePage, ActiveSelectionRange

Dim g_messages, g_originals, g_copies
g_messages = ""
Set g_originals = New ModelList
Set g_copies = New ModelList
Set ActiveDocument = Nothing
Set ActivePage = Nothing
Set ActiveSelectionRange = New ModelList

' The host's message box, recorded instead of shown.
Function MsgBox(message, buttons, title)
    g_messages = g_messages & "message (" & title & ", " & buttons & "): " & message & vbCrLf
    MsgBox = 1
End Function

' Shapes, ranges, subpaths and segments: read through Count and Item(i), from 1.
Class ModelList
    Private m_items
    Private m_count

    Private Sub Class_Initialize()
        m_count = 0
        ReDim m_items(0)
    End Sub

    Public Property Get Count()
        Count = m_count
    End Property

    Public Function Item(index)
        If index < 1 Or index > m_count Then Err.Raise 9, "model", "index " & index & " of " & m_count
        Set Item = m_items(index)
    End Function

    ' A fixed range of what the list holds now.
    Public Function All()
        Dim copy, i
        Set copy = New ModelList
        For i = 1 To m_count
            copy.Add m_items(i)
        Next
        Set All = copy
    End Function

    Public Sub Add(thing)
        m_count = m_count + 1
        ReDim Preserve m_items(m_count)
        Set m_items(m_count) = thing
    End Sub

    ' Puts a shape into this page, group or PowerClip, as the last one.
    Public Sub Hold(shape)
        Add shape
        Set shape.Parent = Me
    End Sub

    ' Puts a shape on top, at index 1, as the host puts a duplicate.
    Public Sub HoldOnTop(shape)
        Dim i
        Hold shape
        For i = m_count To 2 Step -1
            Set m_items(i) = m_items(i - 1)
        Next
        Set m_items(1) = shape
    End Sub

    Public Sub Remove(thing)
        Dim i, j
        For i = 1 To m_count
            If m_items(i) Is thing Then
                For j = i To m_count - 1
                    Set m_items(j) = m_items(j + 1)
                Next
                m_count = m_count - 1
                ReDim Preserve m_items(m_count)
                Exit Sub
            End If
        Next
    End Sub
End Class

Class ModelDocument
    Private m_unit
    Public ActivePage
    Public UnitChanges
    Public UndoBegun
    Public UndoEnded
    Public UndoName

    Private Sub Class_Initialize()
        Set ActivePage = New ModelPage
        UnitChanges = ""
        UndoBegun = 0
        UndoEnded = 0
        UndoName = ""
    End Sub

    Public Property Get Unit()
        Unit = m_unit
    End Property

    Public Property Let Unit(value)
        If value <> 1 And value <> 3 Then Err.Raise 5, "model", "unit " & value & " is not modelled"
        m_unit = value
        UnitChanges = UnitChanges & " " & value
    End Property

    Public Sub StartIn(value)
        m_unit = value
    End Sub

    Public Sub BeginCommandGroup(name)
        UndoBegun = UndoBegun + 1
        UndoName = name
    End Sub

    Public Sub EndCommandGroup()
        UndoEnded = UndoEnded + 1
    End Sub

    ' Millimetres in the document's current unit.
    Public Function InUnit(millimetres)
        If m_unit = 1 Then
            InUnit = millimetres / 25.4
        Else
            InUnit = millimetres
        End If
    End Function
End Class

Class ModelPage
    Public Shapes

    Private Sub Class_Initialize()
        Set Shapes = New ModelList
    End Sub
End Class

Class ModelPowerClip
    Public Shapes

    Private Sub Class_Initialize()
        Set Shapes = New ModelList
    End Sub
End Class

Class ModelShape
    Public Name
    Public Kind
    Public IsCopy
    Public Deleted
    Public Conversions
    Public ConversionFails
    Public Outline
    Public Children
    Public Clip
    Public Parent

    Private Sub Class_Initialize()
        IsCopy = False
        Deleted = False
        Conversions = 0
        ConversionFails = False
        Set Outline = Nothing
        Set Children = New ModelList
        Set Clip = Nothing
        Set Parent = Nothing
    End Sub

    Public Property Get Type()
        Type = Kind
    End Property

    Public Property Get Shapes()
        If Kind <> MODEL_GROUP Then Err.Raise 438, "model", Name & " is not a group"
        Set Shapes = Children
    End Property

    Public Property Get PowerClip()
        If Kind = MODEL_GUIDELINE Then Err.Raise 438, "model", "a guideline holds no PowerClip"
        Set PowerClip = Clip
    End Property

    Public Property Get Curve()
        If Kind <> MODEL_CURVE Then Err.Raise 91, "model", Name & " is not a curve"
        Set Curve = Outline
    End Property

    ' A copy on top of the same list, as the host makes it.
    Public Function Duplicate()
        Dim copy
        If Deleted Then Err.Raise 5, "model", Name & " was deleted"
        Set copy = New ModelShape
        copy.Name = Name & " (copy)"
        copy.Kind = Kind
        copy.IsCopy = True
        copy.ConversionFails = ConversionFails
        Set copy.Outline = Outline
        Parent.HoldOnTop copy
        g_copies.Add copy
        Set Duplicate = copy
    End Function

    Public Sub ConvertToCurves()
        Conversions = Conversions + 1
        If ConversionFails Then Err.Raise 5, "model", Name & " cannot be converted to curves"
        If Kind <> MODEL_GROUP And Kind <> MODEL_BITMAP And Kind <> MODEL_GUIDELINE Then Kind = MODEL_CURVE
    End Sub

    Public Sub Delete()
        Parent.Remove Me
        Deleted = True
    End Sub
End Class

Class ModelNode
    Public X
    Public Y

    Public Property Get PositionX()
        PositionX = ActiveDocument.InUnit(X)
    End Property

    Public Property Get PositionY()
        PositionY = ActiveDocument.InUnit(Y)
    End Property
End Class

Class ModelSegment
    Public Kind
    Public StartNode
    Public EndNode
    Public Control1
    Public Control2

    Public Property Get Type()
        Type = Kind
    End Property

    Public Property Get StartingControlPointX()
        StartingControlPointX = Control1.PositionX
    End Property

    Public Property Get StartingControlPointY()
        StartingControlPointY = Control1.PositionY
    End Property

    Public Property Get EndingControlPointX()
        EndingControlPointX = Control2.PositionX
    End Property

    Public Property Get EndingControlPointY()
        EndingControlPointY = Control2.PositionY
    End Property
End Class

Class ModelSubPath
    Public Segments
    Public Closed
    Public StartNode
    Public LastNode

    Private Sub Class_Initialize()
        Set Segments = New ModelList
    End Sub

    Public Sub LineTo(x, y)
        AddSegment 0, Nothing, Nothing, x, y
    End Sub

    Public Sub CurveTo(x1, y1, x2, y2, x3, y3)
        AddSegment 1, NewNode(x1, y1), NewNode(x2, y2), x3, y3
    End Sub

    Private Sub AddSegment(kind, control1, control2, x, y)
        Dim segment
        Set segment = New ModelSegment
        segment.Kind = kind
        Set segment.StartNode = LastNode
        Set segment.EndNode = NewNode(x, y)
        Set segment.Control1 = control1
        Set segment.Control2 = control2
        Set LastNode = segment.EndNode
        Segments.Add segment
    End Sub
End Class

Class ModelCurve
    Public SubPaths

    Private Sub Class_Initialize()
        Set SubPaths = New ModelList
    End Sub

    ' A subpath starting at (x, y) in millimetres; add its segments with LineTo and CurveTo.
    Public Function AddSubPath(x, y, closed)
        Dim path
        Set path = New ModelSubPath
        path.Closed = closed
        Set path.StartNode = NewNode(x, y)
        Set path.LastNode = path.StartNode
        SubPaths.Add path
        Set AddSubPath = path
    End Function
End Class

Function NewNode(x, y)
    Dim node
    Set node = New ModelNode
    node.X = x
    node.Y = y
    Set NewNode = node
End Function

Function NewCurve()
    Set NewCurve = New ModelCurve
End Function

' An open document whose unit is `unit` (1 inches, 3 millimetres), made the active one.
Function NewDocument(unit)
    Dim doc
    Set doc = New ModelDocument
    doc.StartIn unit
    Set ActiveDocument = doc
    Set ActivePage = doc.ActivePage
    Set NewDocument = doc
End Function

' A user's shape of kind `kind`; `outline` is its curve (what converting it gives for a
' shape that is not a curve), or Nothing.
Function NewShape(name, kind, outline)
    Dim shape
    Set shape = New ModelShape
    shape.Name = name
    shape.Kind = kind
    Set shape.Outline = outline
    g_originals.Add shape
    Set NewShape = shape
End Function

' What a test checks, one line each: the messages, the document's unit and its changes,
' the undo steps, the copies left on the page, and the user's shapes that were changed.
Function Report()
    Dim text, i, changed, shape
    text = g_messages
    If Not ActiveDocument Is Nothing Then
        text = text & "unit: " & ActiveDocument.Unit & " (set to" & ActiveDocument.UnitChanges & ")" & vbCrLf
        text = text & "undo steps: " & ActiveDocument.UndoBegun & " begun, " & ActiveDocument.UndoEnded _
            & " ended (" & ActiveDocument.UndoName & ")" & vbCrLf
    End If
    changed = ""
    For i = 1 To g_originals.Count
        Set shape = g_originals.Item(i)
        If shape.Deleted Or shape.Conversions > 0 Then changed = changed & " " & shape.Name
    Next
    text = text & "copies left:"
    For i = 1 To g_copies.Count
        If Not g_copies.Item(i).Deleted Then text = text & " " & g_copies.Item(i).Name
    Next
    text = text & vbCrLf & "shapes changed:" & changed & vbCrLf
    Report = text
End Function
