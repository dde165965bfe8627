' A model of the part of CorelDRAW's object model that the export macro reads, for running
' the macro's own source under the Windows Script Host. Positions are kept in millimetres
' and given in the document's current unit (inches or millimetres), so a macro that does
' not switch to millimetres writes wrong numbers. It also keeps what a test checks: the
' messages shown, the unit's and the speed settings' changes, the undo steps, the copies
' made and deleted, any change to the user's own shapes, the selection, the toolbars, and
' how many calls the macro made into the model (each one a late-bound call in CorelDRAW).
'
'   Set doc = NewDocument(1)                   ' a document in inches, made active
'   Set crv = NewCurve()
'   Set path = crv.AddSubPath(10, 20, True)    ' starts at (10 mm, 20 mm), closed
'   path.LineTo 30, 20
'   path.CurveTo 35, 20, 40, 25, 40, 30        ' two control points, then the end
'   doc.ActivePage.Draw NewShape("outline", MODEL_CURVE, crv)   ' on the first layer
'   MeridalCut
'   WScript.Echo Report()

Const MODEL_CURVE = 3
Const MODEL_ELLIPSE = 2
Const MODEL_BITMAP = 5
Const MODEL_TEXT = 6
Const MODEL_GROUP = 7
Const MODEL_GUIDELINE = 9
Const MODEL_OLE = 12
Const MODEL_CONTOUR = 13
Const MODEL_DIMENSION = 14
Const MODEL_DROP_SHADOW = 16
Const MODEL_SYMBOL = 23
Const MODEL_PERFECT_SHAPE = 26
Const MODEL_NO_FILL = 0
Const MODEL_NO_OUTLINE = 0
' Where the macro keeps the settings of an export under way.
Const MODEL_MARKER_VALUE = "HKCU\Software\Meridal\Plotgate\ExportState"

' What the host gives the macro.
Dim Application, ActiveDocument, ActivePage, ActiveSelectionRange

Dim g_messages, g_answer, g_originals, g_copies, g_calls
g_messages = ""
g_answer = 1
g_calls = 0
Set g_originals = New ModelList
Set g_copies = New ModelList
Set Application = New ModelApplication
Set ActiveDocument = Nothing
Set ActivePage = Nothing
Set ActiveSelectionRange = New ModelList

' The host's message box, recorded instead of shown; answers g_answer (1 OK, 2 Cancel).
Function MsgBox(message, buttons, title)
    g_messages = g_messages & "message (" & title & ", " & buttons & "): " & message & vbCrLf
    MsgBox = g_answer
End Function

' A member the modelled version lacks.
Sub Missing(member)
    Err.Raise 438, "model", "Object doesn't support this property or method: " & member
End Sub

' The application: speed settings, version, toolbars. A member set to be missing raises.
Class ModelApplication
    Private m_optimization
    Private m_events
    Public OptimizationChanges
    Public EventsChanges
    Public Refreshed
    Public HasDisplayCurve
    Public HasEventsEnabled
    Public HasCommandBars
    Public HasAllLayers
    Public HasWorldScale
    Public HasSetIcon2
    Public HasControlID
    Public Version
    Private m_bars

    Private Sub Class_Initialize()
        m_optimization = False
        m_events = True
        OptimizationChanges = ""
        EventsChanges = ""
        Refreshed = 0
        HasDisplayCurve = False
        HasEventsEnabled = True
        HasCommandBars = True
        HasAllLayers = True
        HasWorldScale = True
        HasSetIcon2 = True
        HasControlID = True
        Version = 22
        Set m_bars = New ModelCommandBars
    End Sub

    Public Property Get Optimization()
        Optimization = m_optimization
    End Property

    Public Property Let Optimization(value)
        m_optimization = value
        OptimizationChanges = OptimizationChanges & " " & value
    End Property

    Public Property Get EventsEnabled()
        If Not HasEventsEnabled Then Missing "EventsEnabled"
        EventsEnabled = m_events
    End Property

    Public Property Let EventsEnabled(value)
        If Not HasEventsEnabled Then Missing "EventsEnabled"
        m_events = value
        EventsChanges = EventsChanges & " " & value
    End Property

    Public Sub Refresh()
        Refreshed = Refreshed + 1
    End Sub

    Public Property Get VersionMajor()
        VersionMajor = Version
    End Property

    Public Property Get CommandBars()
        If Not HasCommandBars Then Missing "CommandBars"
        Set CommandBars = m_bars
    End Property

    ' An empty range, to be filled with Add and grouped.
    Public Function CreateShapeRange()
        g_calls = g_calls + 1
        Set CreateShapeRange = New ModelList
    End Function

    ' The toolbars, also where CommandBars is set to be missing.
    Public Function Toolbars()
        Toolbars = m_bars.Describe()
    End Function

    Public Function Settings()
        Settings = "optimization " & m_optimization & " (set to" & OptimizationChanges & "), events " & m_events _
            & " (set to" & EventsChanges & "), refreshed " & Refreshed
    End Function
End Class

' Shapes, ranges, layers, subpaths, segments and toolbars: read through Count and Item(i),
' from 1.
Class ModelList
    Private m_items
    Private m_count

    Private Sub Class_Initialize()
        m_count = 0
        ReDim m_items(8)
    End Sub

    Public Property Get Count()
        g_calls = g_calls + 1
        Count = m_count
    End Property

    Public Function Item(index)
        g_calls = g_calls + 1
        If index < 1 Or index > m_count Then Err.Raise 9, "model", "index " & index & " of " & m_count
        Set Item = m_items(index)
    End Function

    ' A fixed range of what the list holds now.
    Public Function All()
        Dim copy, i
        g_calls = g_calls + 1
        Set copy = New ModelList
        For i = 1 To m_count
            copy.Add m_items(i)
        Next
        Set All = copy
    End Function

    ' Makes this range the host's selection, as a fixed range of its own.
    Public Sub CreateSelection()
        g_calls = g_calls + 1
        Set ActiveSelectionRange = All()
    End Sub

    Public Property Get Size()
        Size = m_count
    End Property

    Public Function At(index)
        Set At = m_items(index)
    End Function

    Public Sub Add(thing)
        m_count = m_count + 1
        If m_count > UBound(m_items) Then ReDim Preserve m_items(2 * m_count)
        Set m_items(m_count) = thing
    End Sub

    ' Puts a shape into this layer, group or PowerClip, as the last one.
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

    ' Groups the shapes of this range where the first of them lies, as the host does.
    Public Function Group()
        Dim grouped, i, layer
        g_calls = g_calls + 1
        Set grouped = New ModelShape
        grouped.Kind = MODEL_GROUP
        Set layer = m_items(1).OnLayer
        For i = 1 To m_count
            m_items(i).Parent.Remove m_items(i)
            grouped.Children.Hold m_items(i)
        Next
        layer.Hold grouped
        ActiveDocument.Modified = True
        Set Group = grouped
    End Function

    Public Sub Remove(thing)
        Dim i, j
        For i = 1 To m_count
            If m_items(i) Is thing Then
                For j = i To m_count - 1
                    Set m_items(j) = m_items(j + 1)
                Next
                Set m_items(m_count) = Nothing
                m_count = m_count - 1
                Exit Sub
            End If
        Next
    End Sub
End Class

Class ModelDocument
    Private m_unit
    Private m_preserve
    Public ActivePage
    Public UnitChanges
    Public PreserveChanges
    Public UndoBegun
    Public UndoEnded
    Public UndoName
    Public Modified
    Public Name
    Public Scale

    Private Sub Class_Initialize()
        Set ActivePage = New ModelPage
        Name = "Graphic1"
        Scale = 1
        m_preserve = True
        UnitChanges = ""
        PreserveChanges = ""
        UndoBegun = 0
        UndoEnded = 0
        UndoName = ""
        Modified = False
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

    ' Real-world units per drawing unit: 10 for a drawing at 1:10.
    Public Property Get WorldScale()
        If Not Application.HasWorldScale Then Missing "WorldScale"
        WorldScale = Scale
    End Property

    ' The speed and selection settings as a run broken off halfway leaves them.
    Public Sub LeftAsBrokenOff()
        Application.Optimization = True
        Application.EventsEnabled = False
        Application.OptimizationChanges = ""
        Application.EventsChanges = ""
        m_preserve = False
        m_unit = 3
    End Sub

    Public Property Get PreserveSelection()
        PreserveSelection = m_preserve
    End Property

    Public Property Let PreserveSelection(value)
        m_preserve = value
        PreserveChanges = PreserveChanges & " " & value
    End Property

    Public Sub BeginCommandGroup(name)
        UndoBegun = UndoBegun + 1
        UndoName = name
    End Sub

    Public Sub EndCommandGroup()
        UndoEnded = UndoEnded + 1
    End Sub

    ' The document's current unit in millimetres.
    Public Function FromUnit(value)
        If m_unit = 1 Then
            FromUnit = value * 25.4
        Else
            FromUnit = value
        End If
    End Function

    ' Millimetres in the document's current unit.
    Public Function InUnit(millimetres)
        If m_unit = 1 Then
            InUnit = millimetres / 25.4
        Else
            InUnit = millimetres
        End If
    End Function
End Class

' A page: its layers, the first one made with it, and the document's master layers, which
' AllLayers lists after them; Shapes spans the page's own layers, as the host's does.
Class ModelPage
    Public Layers
    Public MasterLayers

    Private Sub Class_Initialize()
        Set Layers = New ModelList
        Set MasterLayers = New ModelList
        AddLayer "Layer 1"
    End Sub

    Public Property Get AllLayers()
        Dim every, i
        g_calls = g_calls + 1
        If Not Application.HasAllLayers Then Missing "AllLayers"
        Set every = Layers.All()
        For i = 1 To MasterLayers.Size
            every.Add MasterLayers.At(i)
        Next
        Set AllLayers = every
    End Property

    Public Function AddMasterLayer(name)
        Set AddMasterLayer = New ModelLayer
        AddMasterLayer.Name = name
        MasterLayers.Add AddMasterLayer
    End Function

    Public Function AddLayer(name)
        Dim layer
        Set layer = New ModelLayer
        layer.Name = name
        Layers.Add layer
        Set AddLayer = layer
    End Function

    ' A new layer on top, as the host makes it.
    Public Function CreateLayer(name)
        g_calls = g_calls + 1
        ActiveDocument.Modified = True
        Set CreateLayer = AddLayer(name)
    End Function

    ' Puts a shape on the first layer.
    Public Sub Draw(shape)
        Layers.At(1).Hold shape
    End Sub

    Public Property Get Shapes()
        Dim every, i, j
        Set every = New ModelList
        For i = 1 To Layers.Size
            For j = 1 To Layers.At(i).Shapes.Size
                every.Add Layers.At(i).Shapes.At(j)
            Next
        Next
        Set Shapes = every
    End Property
End Class

' A layer; Unreadable makes reading its state fail, Locked makes it refuse copies.
Class ModelLayer
    Public Name
    Public Shown
    Public Printed
    Public Special
    Public Unreadable
    Public Locked
    Public Shapes

    Private Sub Class_Initialize()
        Shown = True
        Printed = True
        Special = False
        Unreadable = False
        Locked = False
        Set Shapes = New ModelList
    End Sub

    Public Property Get Visible()
        If Unreadable Then Err.Raise 5, "model", Name & " cannot be read"
        Visible = Shown
    End Property

    Public Property Let Visible(value)
        Shown = value
    End Property

    Public Property Let Printable(value)
        Printed = value
    End Property

    ' A circle of radius r about (x, y), in the document's unit; its outline a diamond
    ' through the circle's four extremes, which has the circle's bounds.
    Public Function CreateEllipse2(x, y, r)
        Dim crv, path, cx, cy, radius
        g_calls = g_calls + 1
        cx = ActiveDocument.FromUnit(x)
        cy = ActiveDocument.FromUnit(y)
        radius = ActiveDocument.FromUnit(r)
        Set crv = NewCurve()
        Set path = crv.AddSubPath(cx - radius, cy, True)
        path.LineTo cx, cy - radius
        path.LineTo cx + radius, cy
        path.LineTo cx, cy + radius
        path.LineTo cx - radius, cy
        Set CreateEllipse2 = Created(MODEL_ELLIPSE, crv)
    End Function

    Public Function CreateLineSegment(x1, y1, x2, y2)
        Dim crv
        g_calls = g_calls + 1
        Set crv = NewCurve()
        crv.AddSubPath(ActiveDocument.FromUnit(x1), ActiveDocument.FromUnit(y1), False).LineTo _
            ActiveDocument.FromUnit(x2), ActiveDocument.FromUnit(y2)
        Set CreateLineSegment = Created(MODEL_CURVE, crv)
    End Function

    ' A shape the macro made, on top of this layer.
    Private Function Created(kind, crv)
        Dim shape
        Set shape = New ModelShape
        shape.Kind = kind
        Set shape.Geometry = crv
        Hold shape
        ActiveDocument.Modified = True
        Set Created = shape
    End Function

    Public Property Get Printable()
        If Unreadable Then Err.Raise 5, "model", Name & " cannot be read"
        Printable = Printed
    End Property

    Public Property Get IsSpecialLayer()
        If Unreadable Then Err.Raise 5, "model", Name & " cannot be read"
        IsSpecialLayer = Special
    End Property

    Public Sub Hold(shape)
        Shapes.Hold shape
        shape.Locked = Locked
        Set shape.OnLayer = Me
    End Sub
End Class

' A shape's fill or outline: its type, 0 for none.
Class ModelStyle
    Private m_type
    Public Owner

    Public Sub Init(value)
        m_type = value
    End Sub

    ' An outline's width, in the document's unit, kept by its shape in millimetres.
    Public Property Let Width(value)
        g_calls = g_calls + 1
        Owner.OutlineWidth = ActiveDocument.FromUnit(value)
    End Property

    Public Property Get Type()
        g_calls = g_calls + 1
        Type = m_type
    End Property
End Class

Function NewStyle(value)
    Set NewStyle = New ModelStyle
    NewStyle.Init value
End Function

Class ModelPowerClip
    Public Shapes

    Private Sub Class_Initialize()
        Set Shapes = New ModelList
    End Sub
End Class

' A shape. Geometry is its curve, or what converting it gives; Displayed, when set, is what
' DisplayCurve gives instead (an envelope shown, or an empty curve); Pieces, when it holds
' any, is the group that converting it gives instead. Filled and Stroked are its fill and
' outline types (0 none); StyleFails makes reading them fail. BreaksOff ends the script
' when the macro reads its kind, as Ctrl+Break ends a macro, after printing the report.
Class ModelShape
    Public Name
    Public Kind
    Public IsCopy
    Public Deleted
    Public Conversions
    Public ConversionFails
    Public DisplayFails
    Public Locked
    Public Geometry
    Public Displayed
    Public Filled
    Public Stroked
    Public StyleFails
    Public BreaksOff
    Public Pieces
    Public Children
    Public Clip
    Public Parent
    Public OnLayer
    Public OutlineWidth

    Private Sub Class_Initialize()
        Set OnLayer = Nothing
        OutlineWidth = Empty
        IsCopy = False
        Deleted = False
        Conversions = 0
        ConversionFails = False
        DisplayFails = False
        Locked = False
        Set Geometry = Nothing
        Set Displayed = Nothing
        Filled = 1
        Stroked = 1
        StyleFails = False
        BreaksOff = False
        Set Pieces = New ModelList
        Set Children = New ModelList
        Set Clip = Nothing
        Set Parent = Nothing
    End Sub

    Public Property Get Type()
        g_calls = g_calls + 1
        If BreaksOff Then
            WScript.Echo Report() & "marker: " & CreateObject("WScript.Shell").RegRead(MODEL_MARKER_VALUE)
            WScript.Quit
        End If
        Type = Kind
    End Property

    Public Property Get Fill()
        g_calls = g_calls + 1
        If StyleFails Then Err.Raise 5, "model", Name & " has no fill to read"
        Set Fill = NewStyle(Filled)
    End Property

    Public Property Get Outline()
        g_calls = g_calls + 1
        If StyleFails Then Err.Raise 5, "model", Name & " has no outline to read"
        Dim style
        Set style = NewStyle(Stroked)
        Set style.Owner = Me
        Set Outline = style
    End Property

    ' The layer a shape lies on, for a shape straight on one.
    Public Property Get Layer()
        g_calls = g_calls + 1
        If OnLayer Is Nothing Then Err.Raise 5, "model", Name & " lies on no layer"
        Set Layer = OnLayer
    End Property

    ' Its bounds from its outline's nodes and control points, or its children's; in the
    ' document's unit.
    Public Property Get LeftX()
        Dim b
        g_calls = g_calls + 1
        b = Box()
        LeftX = ActiveDocument.InUnit(b(0))
    End Property

    Public Property Get BottomY()
        Dim b
        g_calls = g_calls + 1
        b = Box()
        BottomY = ActiveDocument.InUnit(b(1))
    End Property

    Public Property Get RightX()
        Dim b
        g_calls = g_calls + 1
        b = Box()
        RightX = ActiveDocument.InUnit(b(2))
    End Property

    Public Property Get TopY()
        Dim b
        g_calls = g_calls + 1
        b = Box()
        TopY = ActiveDocument.InUnit(b(3))
    End Property

    ' Array(left, bottom, right, top) in millimetres.
    Public Function Box()
        Dim b, i, j, path, seg
        b = Empty
        If Kind = MODEL_GROUP Then
            For i = 1 To Children.Size
                b = Joined(b, Children.At(i).Box())
            Next
        ElseIf Not Geometry Is Nothing Then
            For i = 1 To Geometry.PathList.Size
                Set path = Geometry.PathList.At(i)
                b = Joined(b, NodeBox(path.FirstNode))
                For j = 1 To path.SegmentList.Size
                    Set seg = path.SegmentList.At(j)
                    b = Joined(b, NodeBox(seg.EndAt))
                    If Not seg.Control1 Is Nothing Then b = Joined(Joined(b, NodeBox(seg.Control1)), NodeBox(seg.Control2))
                Next
            Next
        End If
        If IsEmpty(b) Then Err.Raise 5, "model", Name & " has no bounds"
        Box = b
    End Function

    Public Property Get Shapes()
        g_calls = g_calls + 1
        If Kind <> MODEL_GROUP Then Err.Raise 438, "model", Name & " is not a group"
        Set Shapes = Children
    End Property

    Public Property Get PowerClip()
        g_calls = g_calls + 1
        If Kind = MODEL_GUIDELINE Then Err.Raise 438, "model", "a guideline holds no PowerClip"
        Set PowerClip = Clip
    End Property

    Public Property Get Curve()
        g_calls = g_calls + 1
        If Kind <> MODEL_CURVE Then Err.Raise 91, "model", Name & " is not a curve"
        Set Curve = Geometry
    End Property

    Public Property Get DisplayCurve()
        g_calls = g_calls + 1
        If Not Application.HasDisplayCurve Then Missing "DisplayCurve"
        If Not Displayed Is Nothing Then
            Set DisplayCurve = Displayed
            Exit Property
        End If
        If DisplayFails Or Geometry Is Nothing Then Err.Raise 5, "model", Name & " gives no displayed curve"
        Set DisplayCurve = Geometry
    End Property

    ' A copy on top of the same list, as the host makes it, and selected in place of what
    ' was; refused on a locked layer.
    Public Function Duplicate()
        Dim copy
        g_calls = g_calls + 1
        If Deleted Then Err.Raise 5, "model", Name & " was deleted"
        If Locked Then Err.Raise 5, "model", Name & " is on a locked layer"
        Set copy = New ModelShape
        copy.Name = Name & " (copy)"
        copy.Kind = Kind
        copy.IsCopy = True
        copy.ConversionFails = ConversionFails
        Set copy.Geometry = Geometry
        Set copy.Pieces = Pieces
        Parent.HoldOnTop copy
        g_copies.Add copy
        Set ActiveSelectionRange = New ModelList
        ActiveSelectionRange.Add copy
        ActiveDocument.Modified = True
        Set Duplicate = copy
    End Function

    Public Sub ConvertToCurves()
        g_calls = g_calls + 1
        Conversions = Conversions + 1
        ActiveDocument.Modified = True
        If ConversionFails Then Err.Raise 5, "model", Name & " cannot be converted to curves"
        If Pieces.Size > 0 Then
            Kind = MODEL_GROUP
            Set Children = Pieces.All()
        ElseIf Kind <> MODEL_GROUP And Kind <> MODEL_BITMAP And Kind <> MODEL_GUIDELINE Then
            Kind = MODEL_CURVE
        End If
    End Sub

    Public Sub Delete()
        g_calls = g_calls + 1
        Parent.Remove Me
        ActiveSelectionRange.Remove Me
        Deleted = True
        ActiveDocument.Modified = True
    End Sub
End Class

Class ModelNode
    Public X
    Public Y

    Public Property Get PositionX()
        g_calls = g_calls + 1
        PositionX = ActiveDocument.InUnit(X)
    End Property

    Public Property Get PositionY()
        g_calls = g_calls + 1
        PositionY = ActiveDocument.InUnit(Y)
    End Property
End Class

Class ModelSegment
    Public Kind
    Public StartAt
    Public EndAt
    Public Control1
    Public Control2

    Public Property Get Type()
        g_calls = g_calls + 1
        Type = Kind
    End Property

    Public Property Get StartNode()
        g_calls = g_calls + 1
        Set StartNode = StartAt
    End Property

    Public Property Get EndNode()
        g_calls = g_calls + 1
        Set EndNode = EndAt
    End Property

    Public Property Get StartingControlPointX()
        g_calls = g_calls + 1
        StartingControlPointX = ActiveDocument.InUnit(Control1.X)
    End Property

    Public Property Get StartingControlPointY()
        g_calls = g_calls + 1
        StartingControlPointY = ActiveDocument.InUnit(Control1.Y)
    End Property

    Public Property Get EndingControlPointX()
        g_calls = g_calls + 1
        EndingControlPointX = ActiveDocument.InUnit(Control2.X)
    End Property

    Public Property Get EndingControlPointY()
        g_calls = g_calls + 1
        EndingControlPointY = ActiveDocument.InUnit(Control2.Y)
    End Property
End Class

' A subpath; Broken makes reading its segments fail, as a drawing changed under the macro
' might.
Class ModelSubPath
    Public SegmentList
    Public IsClosed
    Public FirstNode
    Public LastNode
    Public Broken

    Private Sub Class_Initialize()
        Set SegmentList = New ModelList
        Broken = False
    End Sub

    Public Property Get Segments()
        g_calls = g_calls + 1
        If Broken Then Err.Raise 5, "model", "the subpath cannot be read"
        Set Segments = SegmentList
    End Property

    Public Property Get Closed()
        g_calls = g_calls + 1
        Closed = IsClosed
    End Property

    Public Property Get StartNode()
        g_calls = g_calls + 1
        Set StartNode = FirstNode
    End Property

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
        Set segment.StartAt = LastNode
        Set segment.EndAt = NewNode(x, y)
        Set segment.Control1 = control1
        Set segment.Control2 = control2
        Set LastNode = segment.EndAt
        SegmentList.Add segment
    End Sub
End Class

Class ModelCurve
    Public PathList

    Private Sub Class_Initialize()
        Set PathList = New ModelList
    End Sub

    Public Property Get SubPaths()
        g_calls = g_calls + 1
        Set SubPaths = PathList
    End Property

    ' A subpath starting at (x, y) in millimetres; add its segments with LineTo and CurveTo.
    Public Function AddSubPath(x, y, closed)
        Dim path
        Set path = New ModelSubPath
        path.IsClosed = closed
        Set path.FirstNode = NewNode(x, y)
        Set path.LastNode = path.FirstNode
        PathList.Add path
        Set AddSubPath = path
    End Function
End Class

' The toolbars, each with its buttons.
Class ModelCommandBars
    Public Bars

    Private Sub Class_Initialize()
        Set Bars = New ModelList
    End Sub

    Public Property Get Count()
        Count = Bars.Size
    End Property

    Public Function Item(index)
        Set Item = Bars.Item(index)
    End Function

    Public Function Add(name, position, temporary)
        Dim bar
        Set bar = New ModelCommandBar
        bar.Name = name
        bar.Position = position
        bar.Temporary = temporary
        Set bar.Owner = Me
        Bars.Add bar
        Set Add = bar
    End Function

    ' One line a toolbar: name, position, whether kept and visible, and its buttons.
    Public Function Describe()
        Dim text, i
        text = ""
        For i = 1 To Bars.Size
            text = text & Bars.At(i).Describe() & vbCrLf
        Next
        Describe = text
    End Function
End Class

Class ModelCommandBar
    Public Name
    Public Position
    Public Temporary
    Public Visible
    Public Controls
    Public Owner

    Private Sub Class_Initialize()
        Visible = False
        Set Controls = New ModelControls
    End Sub

    Public Sub Delete()
        Owner.Bars.Remove Me
    End Sub

    Public Function Describe()
        Describe = "toolbar " & Name & " at " & Position & ", temporary " & Temporary & ", visible " & Visible & ":" _
            & Controls.Describe()
    End Function
End Class

Class ModelControls
    Public Buttons

    Private Sub Class_Initialize()
        Set Buttons = New ModelList
    End Sub

    Public Property Get Count()
        Count = Buttons.Size
    End Property

    Public Function Item(index)
        Set Item = Buttons.Item(index)
    End Function

    Public Function AddCustomButton(category, command)
        Dim button
        Set button = New ModelControl
        button.Category = category
        button.Command = command
        Set button.Owner = Me
        Buttons.Add button
        Set AddCustomButton = button
    End Function

    Public Function Describe()
        Dim text, i, b
        text = ""
        For i = 1 To Buttons.Size
            Set b = Buttons.At(i)
            text = text & " [" & b.Command & " from " & b.Category & ", caption " & b.Caption & ", tip " & b.ToolTipText _
                & ", tag " & b.Tag & ", icon " & b.Icon & "]"
        Next
        Describe = text
    End Function
End Class

Class ModelControl
    Public Category
    Public Command
    Public Caption
    Public ToolTipText
    Public Tag
    Public Icon
    Public Owner

    ' The command the button runs.
    Public Property Get ID()
        If Not Application.HasControlID Then Missing "ID"
        ID = Command
    End Property

    Public Sub SetIcon2(path)
        If Not Application.HasSetIcon2 Then Missing "SetIcon2"
        Icon = path
    End Sub

    Public Sub Delete()
        Owner.Buttons.Remove Me
    End Sub
End Class

' The bounds of one node, Array(x, y, x, y).
Function NodeBox(node)
    NodeBox = Array(node.X, node.Y, node.X, node.Y)
End Function

' Bounds taking in both (the first may be Empty).
Function Joined(a, b)
    If IsEmpty(a) Then
        Joined = b
        Exit Function
    End If
    Joined = Array(Min(a(0), b(0)), Min(a(1), b(1)), Max(a(2), b(2)), Max(a(3), b(3)))
End Function

Function Min(a, b)
    If a < b Then Min = a Else Min = b
End Function

Function Max(a, b)
    If a > b Then Max = a Else Max = b
End Function

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
    Set shape.Geometry = outline
    g_originals.Add shape
    Set NewShape = shape
End Function

' What a test checks, one line each: the messages, the document's unit and its changes,
' the speed settings, the undo steps and whether the drawing changed, the copies left on
' the page, the user's shapes that were changed, and what is selected, when anything is.
Function Report()
    Dim text, i, changed, shape
    text = g_messages
    If Not ActiveDocument Is Nothing Then
        text = text & "unit: " & ActiveDocument.Unit & " (set to" & ActiveDocument.UnitChanges & ")" & vbCrLf
        text = text & "settings: " & Application.Settings() & ", preserve selection " _
            & ActiveDocument.PreserveSelection & " (set to" & ActiveDocument.PreserveChanges & ")" & vbCrLf
        text = text & "undo steps: " & ActiveDocument.UndoBegun & " begun, " & ActiveDocument.UndoEnded _
            & " ended (" & ActiveDocument.UndoName & "), modified " & ActiveDocument.Modified & vbCrLf
    End If
    changed = ""
    For i = 1 To g_originals.Size
        Set shape = g_originals.At(i)
        If shape.Deleted Or shape.Conversions > 0 Then changed = changed & " " & shape.Name
    Next
    text = text & "copies left:"
    For i = 1 To g_copies.Size
        If Not g_copies.At(i).Deleted Then text = text & " " & g_copies.At(i).Name
    Next
    text = text & vbCrLf & "shapes changed:" & changed & vbCrLf
    If ActiveSelectionRange.Size > 0 Then
        text = text & "selected:"
        For i = 1 To ActiveSelectionRange.Size
            text = text & " " & ActiveSelectionRange.At(i).Name
        Next
        text = text & vbCrLf
    End If
    Report = text
End Function
