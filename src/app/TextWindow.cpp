#include "app/TextWindow.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextDocument>
#include <QTimer>
#include <memory>

#include "app/EncodingMessages.h"
#include "app/QtText.h"
#include "capture/ClipboardRelay.h"
#include "prompt/SelectionPrompt.h"
#include "text/Utf16Bytes.h"
#include "text/FileBytes.h"
#include "text/LineBreaks.h"

namespace scrivano {
namespace {

// Texts longer than this (in UTF-16 code units) are shown piece by piece of about this length: a piece
// takes the edit widget some 20 to 40 milliseconds.
constexpr qsizetype kTextPieceLength = qsizetype{1} << 20;

// Where the piece of the text that starts at from ends: about kTextPieceLength on, after a line break, so
// that no line is built from two pieces.
qsizetype PieceEnd(const QString& display, qsizetype from) {
  if (display.size() - from <= kTextPieceLength) return display.size();
  const qsizetype lineEnd = display.indexOf(u'\n', from + kTextPieceLength);
  return lineEnd < 0 ? display.size() : lineEnd + 1;
}

// A face that shows Chinese well, when one is installed.
QFont ChineseFriendlyFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  const QStringList families = QFontDatabase::families();
  for (const char* family :
       {"WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC", "AR PL UMing CN"}) {
    if (families.contains(QString::fromLatin1(family))) {
      font.setFamilies({QString::fromLatin1(family)});
      break;
    }
  }
  return font;
}

// The plain text that a clipboard or a drop offers; empty when it offers none. Only a format the source
// announces is asked for, so an empty clipboard or one whose owner has gone gives an empty text.
QString OfferedText(const QMimeData* source) {
  if (!source || !source->hasText()) return {};
  return source->text();
}

}  // namespace

bool CScrivanoDoc::Load(TextView path, CScrivanoView& view, std::optional<Charset> charset) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  path_ = Text(path);
  DecodedText decoded;
  if (programFile_) {
    decoded.text = Utf16LeBytesToText(bytes);
    decoded.format = {Charset::kUtf16Le, false, LineBreak::kCrLf};
  } else {
    decoded = charset ? DecodeTextFile(bytes, *charset) : DecodeTextFile(bytes);
    ToCrLf(decoded.text);
  }
  format_ = decoded.format;
  replaced_ = decoded.replaced;
  firstBadByte_ = decoded.firstBadByte;
  loadedBytes_ = std::move(bytes);
  view.SetText(std::move(decoded.text), false);
  return true;
}

void CScrivanoDoc::TellReadWithLoss() const {
  if (replaced_ > 0) ShowNotice(ReadWithLossNotice(Title(), format_.charset, replaced_, firstBadByte_));
}

CScrivanoDoc::SaveResult CScrivanoDoc::Save(TextView path, const CScrivanoView& view) {
  TextFormat format = format_;
  std::string bytes;
  if (!view.IsModified()) {
    bytes = loadedBytes_;
  } else {
    const Text& text = view.TextRef();
    size_t unencodable = Text::npos;
    if (replaced_ > 0 || !EncodeTextFile(text, format, bytes, &unencodable)) {
      // UTF-8 stores every text but one with a lone surrogate, which UTF-16 stores as it is.
      std::string utf8;
      format.charset =
          EncodeText(text, Charset::kUtf8, utf8) == Text::npos ? Charset::kUtf8 : Charset::kUtf16Le;
      format.byteOrderMark = format.byteOrderMark || format.charset == Charset::kUtf16Le;
      MessageRequest question{
          replaced_ > 0
              ? ReadWithLossQuestion(Title(), format_.charset, replaced_, firstBadByte_, format.charset)
              : UnencodableQuestion(Title(), format_.charset, text, unencodable, format.charset),
          u"Scrivano", MessageButtons::YesNo, false};
      question.firstButtonDefault = true;
      if (ShowBox(question) != kResultYes) return SaveResult::kCancelled;
      if (!EncodeTextFile(text, format, bytes)) return SaveResult::kFailed;
    }
  }
  if (!WriteFileBytesAtomically(path, bytes)) return SaveResult::kFailed;
  path_ = Text(path);
  // Edited, the file now holds what the view shows.
  if (view.IsModified()) replaced_ = 0;
  format_ = format;
  loadedBytes_ = std::move(bytes);
  return SaveResult::kSaved;
}

Text CScrivanoDoc::Title() const {
  const int slash = FindLast(path_, u'/');
  return path_.empty() ? Text(u"Scrivano") : MidFrom(path_, slash + 1);
}

CScrivanoView::CScrivanoView(CScrivanoDoc* document, QWidget* parent)
    : QPlainTextEdit(parent), document_(document) {
  // Long lines wrap; no horizontal scrolling.
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFont(ChineseFriendlyFont());
  connect(this->document(), &QTextDocument::contentsChanged, this, [this] {
    if (!settingText_) exactTextValid_ = false;
  });
}

Text CScrivanoView::GetText() const {
  return TextRef();
}

const Text& CScrivanoView::TextRef() const {
  if (exactTextValid_) return exactText_;
  // The raw text keeps non-breaking spaces; paragraphs end in U+2029. Kept until the next edit.
  QString raw = document()->toRawText();
  raw.replace(QChar(0x2029), QStringLiteral("\r\n"));
  exactText_ = FromQString(raw);
  exactTextValid_ = true;
  return exactText_;
}

void CScrivanoView::SetText(Text text, bool markModified) {
  ShowWholeText(std::move(text), markModified, false);
}

void CScrivanoView::ReplaceText(Text text) {
  ShowWholeText(std::move(text), true, true);
}

void CScrivanoView::ShowWholeText(Text text, bool markModified, bool undoable) {
  const unsigned generation = ++loadGeneration_;
  if (TextLoading()) {
    pendingDisplay_.clear();
    pendingRemoval_ = false;
    EnableUndo();
    setReadOnly(readOnlyBeforeLoad_);
    undoable = false;
  }
  QString display = ToDisplayQString(text);
  exactText_ = std::move(text);
  qsizetype end = PieceEnd(display, 0);
  settingText_ = true;
  if (undoable && document()->characterCount() > kTextPieceLength) {
    // A long text goes piece by piece from its end before the new one comes in: taking it out whole, as
    // an edit to undo, would keep the program from answering for a second or more. One edit block all
    // the same: the later pieces join it.
    QTextCursor tail(document());
    tail.beginEditBlock();
    pendingRemoval_ = RemoveLastPiece(tail);
    tail.endEditBlock();
    end = 0;
  } else if (undoable) {
    QTextCursor whole(document());
    whole.beginEditBlock();
    whole.select(QTextCursor::Document);
    whole.insertText(end == display.size() ? display : display.first(end));
    whole.endEditBlock();
    moveCursor(QTextCursor::Start);
  } else if (end == display.size()) {
    setPlainText(display);
  } else {
    // Pieces are appended as the program's own, not as edits the user could undo.
    document()->setUndoRedoEnabled(false);
    setPlainText(display.first(end));
  }
  settingText_ = false;
  exactTextValid_ = true;
  // An undoable replacement leaves the flag to the edit, so that undoing it back to the text as saved
  // counts as unmodified again; one that changed nothing (an empty text emptied) counts as modified all
  // the same.
  if (!undoable || !IsModified()) SetModified(markModified);
  if (!pendingRemoval_ && end == display.size()) return;
  pendingDisplay_ = std::move(display);
  pendingPosition_ = end;
  pendingUndoable_ = undoable;
  readOnlyBeforeLoad_ = isReadOnly();
  setReadOnly(true);
  QTimer::singleShot(0, this, [this, generation] { ShowNextPiece(generation); });
}

void CScrivanoView::ShowNextPiece(unsigned generation) {
  if (generation != loadGeneration_ || !TextLoading()) return;
  if (pendingRemoval_) {
    EditShown([this](QTextCursor& tail) { pendingRemoval_ = RemoveLastPiece(tail); });
  } else {
    const qsizetype end = PieceEnd(pendingDisplay_, pendingPosition_);
    EditShown([this, end](QTextCursor& cursor) {
      cursor.movePosition(QTextCursor::End);
      cursor.insertText(
          QStringView(pendingDisplay_).sliced(pendingPosition_, end - pendingPosition_).toString());
    });
    pendingPosition_ = end;
  }
  if (pendingRemoval_ || pendingPosition_ < pendingDisplay_.size()) {
    QTimer::singleShot(0, this, [this, generation] { ShowNextPiece(generation); });
    return;
  }
  pendingDisplay_.clear();
  EnableUndo();
  setReadOnly(readOnlyBeforeLoad_);
}

void CScrivanoView::EditShown(const std::function<void(QTextCursor&)>& edit) {
  const bool modified = IsModified();
  settingText_ = true;
  QTextCursor cursor(document());
  if (pendingUndoable_) cursor.joinPreviousEditBlock();
  edit(cursor);
  if (pendingUndoable_) cursor.endEditBlock();
  settingText_ = false;
  if (IsModified() != modified) SetModified(modified);
}

bool CScrivanoView::RemoveLastPiece(QTextCursor& cursor) {
  cursor.movePosition(QTextCursor::End);
  qsizetype from = std::max<qsizetype>(0, cursor.position() - kTextPieceLength);
  // Not between the halves of a character.
  if (from > 0 && document()->characterAt(static_cast<int>(from)).isLowSurrogate()) --from;
  cursor.setPosition(static_cast<int>(from), QTextCursor::KeepAnchor);
  cursor.removeSelectedText();
  return from > 0;
}

void CScrivanoView::EnableUndo() {
  // Enabling it again would forget which state of the undo stack was saved.
  if (!document()->isUndoRedoEnabled()) document()->setUndoRedoEnabled(true);
}

bool CScrivanoView::IsModified() const {
  return document()->isModified();
}

void CScrivanoView::SetModified(bool modified) {
  document()->setModified(modified);
}

bool CScrivanoView::CopyAll(ClipboardRelay& relay) const {
  return relay.WriteText(&TextRef());
}

bool CScrivanoView::PasteAll(ClipboardRelay& relay) {
  Text text;
  if (!relay.CopyFromWindow(static_cast<WindowHandle>(window()->effectiveWinId()), text, false)) return false;
  ReplaceText(std::move(text));
  return true;
}

bool CScrivanoView::ClipboardOffersText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard && !OfferedText(clipboard->mimeData(QClipboard::Clipboard)).isEmpty();
}

void CScrivanoView::Paste() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard) InsertOfferedText(clipboard->mimeData(QClipboard::Clipboard));
}

void CScrivanoView::InsertOfferedText(const QMimeData* source) {
  if (isReadOnly()) return;
  const QString text = OfferedText(source);
  if (text.isEmpty()) return;
  insertPlainText(text);
  ensureCursorVisible();
}

void CScrivanoView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste)) {
    Paste();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void CScrivanoView::mousePressEvent(QMouseEvent* event) {
  // The middle button pastes the selection on release (below); the edit widget's own handling of it
  // would reach the faulty paste.
  if (event->button() == Qt::MiddleButton) {
    event->accept();
    return;
  }
  QPlainTextEdit::mousePressEvent(event);
}

void CScrivanoView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    event->accept();
    const QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard || !clipboard->supportsSelection() || isReadOnly()) return;
    setTextCursor(cursorForPosition(event->position().toPoint()));
    InsertOfferedText(clipboard->mimeData(QClipboard::Selection));
    return;
  }
  QPlainTextEdit::mouseReleaseEvent(event);
}

void CScrivanoView::contextMenuEvent(QContextMenuEvent* event) {
  const std::unique_ptr<QMenu> menu(createStandardContextMenu(event->pos()));
  for (QAction* action : menu->actions()) {
    if (action->objectName() != QStringLiteral("edit-paste")) continue;
    action->disconnect();
    action->setEnabled(!isReadOnly() && ClipboardOffersText());
    connect(action, &QAction::triggered, this, &CScrivanoView::Paste);
  }
  menu->exec(event->globalPos());
}

bool CScrivanoView::canInsertFromMimeData(const QMimeData* source) const {
  return !OfferedText(source).isEmpty();
}

void CScrivanoView::insertFromMimeData(const QMimeData* source) {
  InsertOfferedText(source);
}

CChildFrame::CChildFrame(CScrivanoView* view) : view_(view) {
  setWidget(view);
  setAttribute(Qt::WA_DeleteOnClose);
  UpdateTitle();
  connect(view->document(), &QTextDocument::modificationChanged, this, &QWidget::setWindowModified);
}

void CChildFrame::UpdateTitle() {
  setWindowTitle(ToQString(view_->Document()->Title()) + QStringLiteral("[*]"));
}

void CChildFrame::closeEvent(QCloseEvent* event) {
  if (closeQuery && !closeQuery(*this)) {
    event->ignore();
    return;
  }
  QMdiSubWindow::closeEvent(event);
}

}  // namespace scrivano
