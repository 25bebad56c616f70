' Scrivano's NextPiece for LibreOffice Writer: bound to Ctrl+N by "scrivano --install-office-macro".
' Each call selects the next paragraph that holds text and copies it, so that Scrivano can convert it
' and paste the result in its place. The first call takes the paragraph the cursor stands at the start
' of; after a selection or a paste (the cursor inside or at the end of a paragraph) it moves on to the
' next one. At the end of the document it copies nothing, which tells Scrivano that all is done.
Sub NextPiece
  Dim oView As Object, oCursor As Object, oDispatcher As Object
  oView = ThisComponent.getCurrentController().getViewCursor()
  oCursor = oView.getText().createTextCursorByRange(oView.getEnd())
  If Not (oView.isCollapsed() And oCursor.isStartOfParagraph()) Then
    If Not oCursor.gotoNextParagraph(False) Then Exit Sub
  End If
  Do While True
    oCursor.gotoStartOfParagraph(False)
    oCursor.gotoEndOfParagraph(True)
    If Len(Trim(oCursor.getString())) > 0 Then Exit Do
    oCursor.collapseToEnd()
    If Not oCursor.gotoNextParagraph(False) Then Exit Sub
  Loop
  oView.gotoRange(oCursor.getStart(), False)
  oView.gotoRange(oCursor.getEnd(), True)
  oDispatcher = createUnoService("com.sun.star.frame.DispatchHelper")
  oDispatcher.executeDispatch(ThisComponent.getCurrentController().getFrame(), ".uno:Copy", "", 0, Array())
End Sub
