// Text windows: a document (CScrivanoDoc) shown by an edit view (CScrivanoView) in an MDI child frame
// (CChildFrame). The view holds the file's text; functions get it with "\r\n" line breaks exactly as the
// file holds them.
#pragma once

#include <QMdiSubWindow>
#include <QObject>
#include <QPlainTextEdit>
#include <functional>
#include <string>

#include "text/Text.h"

namespace scrivano {

class CScrivanoView;
class ClipboardRelay;

// How a document's file is stored. Files that are not UTF-16 are written back as they came.
enum class DocumentEncoding { kUtf16Le, kEightBit };

// Guesses how a file's bytes are stored: UTF-16LE (with or without its mark), or 8-bit text (UTF-8 or
// the locale's character set), and decodes them. A UTF-16LE mark stays in the text as its first character.
Text DecodeDocumentBytes(std::string_view bytes, DocumentEncoding& encoding);
std::string EncodeDocumentText(TextView text, DocumentEncoding encoding);

class CScrivanoDoc : public QObject {
 public:
  explicit CScrivanoDoc(QObject* parent = nullptr) : QObject(parent) {}

  // Reads the file into the view. False when the file cannot be read (nothing is shown).
  bool Load(TextView path, CScrivanoView& view);
  // Writes the view's text to path; a document saved without an edit since it was read keeps its bytes.
  // False when the file cannot be written (nothing is shown).
  bool Save(TextView path, const CScrivanoView& view);

  const Text& PathName() const { return path_; }
  Text Title() const;
  DocumentEncoding Encoding() const { return encoding_; }
  // The program's own files are always UTF-16LE.
  void ForceUtf16() { encoding_ = DocumentEncoding::kUtf16Le; }

 private:
  Text path_;
  DocumentEncoding encoding_ = DocumentEncoding::kUtf16Le;
  std::string loadedBytes_;  // the file as last read or written
};

class CScrivanoView : public QPlainTextEdit {
 public:
  explicit CScrivanoView(CScrivanoDoc* document, QWidget* parent = nullptr);

  CScrivanoDoc* Document() const { return document_; }
  // The whole text with "\r\n" line breaks.
  Text GetText() const;
  // The same without a copy; valid until the text changes.
  const Text& TextRef() const;
  // Replaces the whole text; the document counts as modified when markModified is set. GetText has the
  // new text at once. A long text is shown piece by piece from the event loop, so that the program keeps
  // answering meanwhile; until the last piece is in, the view is read-only and TextLoading() is true.
  void SetText(Text text, bool markModified);
  bool TextLoading() const { return !pendingDisplay_.isEmpty(); }
  bool IsModified() const;
  void SetModified(bool modified);

  // Copy All: the whole text onto the clipboard through the relay, with its retry and failure caption.
  bool CopyAll(ClipboardRelay& relay) const;
  // Paste All: the clipboard's text replaces the whole text, which then counts as modified. When the
  // clipboard gives no text (empty, or its owner does not answer) the text stays as it was.
  bool PasteAll(ClipboardRelay& relay);

  // Pastes what the clipboard offers as plain text at the cursor; nothing when it offers none. Every
  // paste path of the view (keys, menus, middle button, drops) comes here or to InsertOfferedText: Qt's
  // own paste crashes on a clipboard whose owner is gone or that holds nothing.
  void Paste();
  // True when the clipboard offers plain text.
  static bool ClipboardOffersText();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  bool canInsertFromMimeData(const QMimeData* source) const override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void InsertOfferedText(const QMimeData* source);
  // Appends the next piece of pendingDisplay_ and asks for the one after; stops when generation is not
  // the latest SetText's.
  void ShowNextPiece(unsigned generation);
  // Inserts at the end without counting as an edit by the user.
  void AppendShown(const QString& piece);

  CScrivanoDoc* document_;
  // The text as last set, valid until the user edits: keeps line breaks and characters that the edit
  // widget would show differently.
  mutable Text exactText_;
  mutable bool exactTextValid_ = false;
  bool settingText_ = false;
  // The part of a long text not shown yet, from pendingPosition_ on.
  QString pendingDisplay_;
  qsizetype pendingPosition_ = 0;
  bool readOnlyBeforeLoad_ = false;
  unsigned loadGeneration_ = 0;
};

class CChildFrame : public QMdiSubWindow {
 public:
  explicit CChildFrame(CScrivanoView* view);
  CScrivanoView* View() const { return view_; }
  // Refreshes the title from the document.
  void UpdateTitle();
  // Asked before the window closes; false keeps it open (the user cancelled saving).
  std::function<bool(CChildFrame&)> closeQuery;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  CScrivanoView* view_;
};

}  // namespace scrivano
