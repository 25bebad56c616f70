// Text windows: a document (CScrivanoDoc) shown by an edit view (CScrivanoView) in an MDI child frame
// (CChildFrame). The view holds the file's text with "\r\n" line breaks, as functions expect it; the
// document writes it back in the file's own encoding, byte-order mark and line break.
#pragma once

#include <QMdiSubWindow>
#include <QObject>
#include <QPlainTextEdit>
#include <functional>
#include <optional>
#include <string>

#include "text/Text.h"
#include "text/TextEncodings.h"

namespace scrivano {

class CScrivanoView;
class ClipboardRelay;

class CScrivanoDoc : public QObject {
 public:
  enum class SaveResult { kSaved, kFailed, kCancelled };

  explicit CScrivanoDoc(QObject* parent = nullptr) : QObject(parent) {}

  // The program's own files (the Input and Output files) are UTF-16LE without a mark whatever their bytes:
  // their code units as they stand (a mark stays as the first character, a final odd byte is dropped).
  // Set before Load.
  void SetProgramFile() { programFile_ = true; }
  bool IsProgramFile() const { return programFile_; }

  // Reads the file into the view, as DecodeTextFile reads it or in charset when given; the view gets the
  // text with "\r\n" line breaks, and the document keeps the file's format to write it back in. False
  // when the file cannot be read (nothing is shown, the document stays as it was).
  bool Load(TextView path, CScrivanoView& view, std::optional<Charset> charset = std::nullopt);
  // A notice naming the encoding and the first bad byte when the file did not decode without loss (once
  // its window shows, so that the user sees what it speaks of).
  void TellReadWithLoss() const;
  // Writes the view's text to path in the document's format; a document without an edit since it was read
  // keeps its bytes. A text the format cannot store (a character its encoding lacks, or any edit of a file
  // read with loss) is saved only when the user agrees to UTF-8, which the document keeps from then on
  // (UTF-16LE with a mark for a text with a lone surrogate); otherwise nothing is written and the result
  // is kCancelled. kFailed: the file could not be written (nothing is shown).
  SaveResult Save(TextView path, const CScrivanoView& view);

  const Text& PathName() const { return path_; }
  Text Title() const;
  const TextFormat& Format() const { return format_; }
  // The file as last read did not decode without loss (and has not been written since).
  bool ReadWithLoss() const { return replaced_ > 0; }

 private:
  Text path_;
  bool programFile_ = false;
  TextFormat format_;
  size_t replaced_ = 0;
  size_t firstBadByte_ = std::string::npos;
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
  // Replaces the whole text, clearing what could be undone (a file read); the document counts as modified
  // when markModified is set. GetText has the new text at once. A long text is shown piece by piece from
  // the event loop, so that the program keeps answering meanwhile; until the last piece is in, the view is
  // read-only and TextLoading() is true.
  void SetText(Text text, bool markModified);
  // The same as one edit that Undo takes back (a result handed back, Paste All, Empty Content); the
  // document counts as modified. Over a text still coming in piece by piece there is no whole text to go
  // back to: it is then replaced as SetText does.
  void ReplaceText(Text text);
  bool TextLoading() const { return pendingRemoval_ || !pendingDisplay_.isEmpty(); }
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
  void ShowWholeText(Text text, bool markModified, bool undoable);
  // Takes out the next piece of the old text, or appends the next piece of pendingDisplay_, and asks for
  // the one after; stops when generation is not the latest replacement's.
  void ShowNextPiece(unsigned generation);
  // One step of a text being shown, without changing the modified flag (a save meanwhile holds); with
  // pendingUndoable_ as part of the edit that began the replacement.
  void EditShown(const std::function<void(QTextCursor&)>& edit);
  // Removes up to a piece's length from the end of the document; true when text is left.
  bool RemoveLastPiece(QTextCursor& cursor);
  // After the pieces of a text that was not to be undone.
  void EnableUndo();

  CScrivanoDoc* document_;
  // The text as last set, valid until the user edits: keeps line breaks and characters that the edit
  // widget would show differently.
  mutable Text exactText_;
  mutable bool exactTextValid_ = false;
  bool settingText_ = false;
  // The old text still being taken out (by an undoable replacement), then the part of a long text not
  // shown yet, from pendingPosition_ on.
  bool pendingRemoval_ = false;
  QString pendingDisplay_;
  qsizetype pendingPosition_ = 0;
  bool readOnlyBeforeLoad_ = false;
  bool pendingUndoable_ = false;
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
