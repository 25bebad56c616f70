' Scrivano's NextPiece for LibreOffice Writer: bound to Ctrl+N by "scrivano --install-office-macro".
' Each call first puts the piece Scrivano converted in place of the paragraph the call before handed
' over, then selects the next paragraph that holds text and copies it, so that Scrivano can convert it.
' The first call takes the paragraph the cursor stands at the start of; after a selection or a paste
' (the cursor inside or at the end of a paragraph) it moves on to the next one. At the end of the
' document it puts Scrivano's probe text "SYSTEM1TEXT2FLAG3" on the clipboard, which tells Scrivano at
' once that all is done.
Private oMark As Object
' The paragraph handed over last: the clipboard's content as LibreOffice's own copy of it, its text, and
' when it was handed over.
Global oScrivanoHandedOver As Object
Global sScrivanoHandedOver As String
Global dScrivanoHandedOver As Date

Sub NextPiece
  Dim oView As Object, oCursor As Object
  oView = ThisComponent.getCurrentController().getViewCursor()
  If Not PutConvertedPieceBack(oView) Then
    HandOver "EndMark_"
    Exit Sub
  End If
  oCursor = oView.getText().createTextCursorByRange(oView.getEnd())
  If Not (oView.isCollapsed() And oCursor.isStartOfParagraph()) Then
    If Not oCursor.gotoNextParagraph(False) Then
      HandOver "EndMark_"
      Exit Sub
    End If
  End If
  Do While True
    oCursor.gotoStartOfParagraph(False)
    oCursor.gotoEndOfParagraph(True)
    If Len(Trim(oCursor.getString())) > 0 Then Exit Do
    oCursor.collapseToEnd()
    If Not oCursor.gotoNextParagraph(False) Then
      HandOver "EndMark_"
      Exit Sub
    End If
  Loop
  oView.gotoRange(oCursor.getStart(), False)
  oView.gotoRange(oCursor.getEnd(), True)
  Dispatch ".uno:Copy"
  oScrivanoHandedOver = createUnoService("com.sun.star.datatransfer.clipboard.SystemClipboard").getContents()
  sScrivanoHandedOver = oView.getString()
  dScrivanoHandedOver = Now
End Sub

' Scrivano puts the converted piece on the clipboard and presses Ctrl+N again (at once, unless a message
' of the conversion waits for the user): the piece goes in place of the paragraph still selected. A
' selection the user changed since, or a call a minute later, is left alone. LibreOffice learns that the
' clipboard has a new owner in its own time, and until then it offers its own copy: that is waited for,
' two seconds at most. False when it did not come.
Function PutConvertedPieceBack(oView As Object) As Boolean
  Dim oClipboard As Object, i As Integer
  PutConvertedPieceBack = True
  If IsNull(oScrivanoHandedOver) Then Exit Function
  If oView.isCollapsed() Or oView.getString() <> sScrivanoHandedOver Or _
     (Now - dScrivanoHandedOver) * 86400 > 60 Then
    oScrivanoHandedOver = Nothing
    Exit Function
  End If
  oClipboard = createUnoService("com.sun.star.datatransfer.clipboard.SystemClipboard")
  For i = 1 To 400
    If Not EqualUnoObjects(oClipboard.getContents(), oScrivanoHandedOver) Then
      oScrivanoHandedOver = Nothing
      Dispatch ".uno:Paste"
      Exit Function
    End If
    Wait 5
  Next
  oScrivanoHandedOver = Nothing
  PutConvertedPieceBack = False
End Function

Sub Dispatch(sCommand As String)
  createUnoService("com.sun.star.frame.DispatchHelper").executeDispatch( _
    ThisComponent.getCurrentController().getFrame(), sCommand, "", 0, Array())
End Sub

' Binds Ctrl+N in Writer documents to NextPiece in the LibreOffice that runs it, then says so on the
' clipboard. Scrivano has the running LibreOffice run it before it presses Ctrl+N: the answer shows that
' this LibreOffice knows the macro, and the binding holds even when LibreOffice dropped the one in the
' profile (it writes its own settings over the profile's when it ends).
Sub BindNextPiece
  Dim oShortcuts As Object
  Dim aKey As New com.sun.star.awt.KeyEvent
  oShortcuts = createUnoService("com.sun.star.ui.ModuleUIConfigurationManagerSupplier") _
    .getUIConfigurationManager("com.sun.star.text.TextDocument").getShortCutManager()
  aKey.KeyCode = com.sun.star.awt.Key.N
  aKey.Modifiers = com.sun.star.awt.KeyModifier.MOD1
  oShortcuts.setKeyEvent(aKey, "vnd.sun.star.script:Standard.Scrivano.NextPiece?language=Basic&location=application")
  oShortcuts.store()
  oScrivanoHandedOver = Nothing
  HandOver "ReadyMark_"
End Sub

' The clipboard marks: a transferable of this module, whose functions begin with the prefix, goes on the
' clipboard, and the clipboard asks it for its text when another program reads it.
Sub HandOver(sPrefix As String)
  oMark = CreateUnoListener(sPrefix, "com.sun.star.datatransfer.XTransferable")
  createUnoService("com.sun.star.datatransfer.clipboard.SystemClipboard").setContents(oMark, Nothing)
End Sub

Function EndMark_getTransferData(aFlavor As com.sun.star.datatransfer.DataFlavor) As Variant
  If IsText(aFlavor) Then EndMark_getTransferData = "SYSTEM1TEXT2FLAG3"
End Function

Function EndMark_getTransferDataFlavors() As Variant
  EndMark_getTransferDataFlavors = TextFlavors()
End Function

Function EndMark_isDataFlavorSupported(aFlavor As com.sun.star.datatransfer.DataFlavor) As Boolean
  EndMark_isDataFlavorSupported = IsText(aFlavor)
End Function

Function ReadyMark_getTransferData(aFlavor As com.sun.star.datatransfer.DataFlavor) As Variant
  If IsText(aFlavor) Then ReadyMark_getTransferData = "Scrivano NextPiece 2 ready"
End Function

Function ReadyMark_getTransferDataFlavors() As Variant
  ReadyMark_getTransferDataFlavors = TextFlavors()
End Function

Function ReadyMark_isDataFlavorSupported(aFlavor As com.sun.star.datatransfer.DataFlavor) As Boolean
  ReadyMark_isDataFlavorSupported = IsText(aFlavor)
End Function

Function TextFlavors() As Variant
  Dim aFlavor As New com.sun.star.datatransfer.DataFlavor
  aFlavor.MimeType = "text/plain;charset=utf-16"
  aFlavor.HumanPresentableName = "Unicode text"
  TextFlavors = Array(aFlavor)
End Function

Function IsText(aFlavor As com.sun.star.datatransfer.DataFlavor) As Boolean
  IsText = aFlavor.MimeType = "text/plain;charset=utf-16"
End Function
