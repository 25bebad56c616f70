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

#include "app/QtText.h"
#include "capture/ClipboardRelay.h"
#include "text/AnsiCodec.h"
#include "text/Tokenizers.h"
#include "toolkit/TextFiles.h"

namespace scrivano {
namespace {

bool IsValidUtf8(std::string_view bytes) {
  const Text decoded = FromUtf8(bytes);
  return ToUtf8(decoded) == bytes;
}

// Texts longer than this (in UTF-16 code units) are shown piece by piece of about this length: a piece
// takes the edit widget some 20 to 40 milliseconds.
constexpr qsizetype kTextPieceLength = qsizetype{1} << 20;

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

Text DecodeDocumentBytes(std::string_view bytes, DocumentEncoding& encoding) {
  // UTF-16LE: the mark, or an even length with zero bytes (ASCII in UTF-16) or bytes that are no UTF-8.
  const bool even = bytes.size() % 2 == 0;
  const bool utf16 = bytes.empty() || bytes.starts_with("\xFF\xFE") ||
                     (even && (bytes.find('\0') != std::string_view::npos || !IsValidUtf8(bytes)));
  if (utf16) {
    encoding = DocumentEncoding::kUtf16Le;
    return Utf16LeBytesToText(bytes);
  }
  encoding = DocumentEncoding::kEightBit;
  return DecodeAnsi(bytes);
}

std::string EncodeDocumentText(TextView text, DocumentEncoding encoding) {
  return encoding == DocumentEncoding::kUtf16Le ? TextToUtf16LeBytes(text) : EncodeAnsi(text);
}

bool CScrivanoDoc::Load(TextView path, CScrivanoView& view) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) return false;
  path_ = Text(path);
  view.SetText(DecodeDocumentBytes(bytes, encoding_), false);
  loadedBytes_ = std::move(bytes);
  return true;
}

bool CScrivanoDoc::Save(TextView path, const CScrivanoView& view) {
  const bool untouched = !view.IsModified() && path == path_;
  std::string bytes = untouched ? loadedBytes_ : EncodeDocumentText(view.TextRef(), encoding_);
  if (!WriteFileBytesAtomically(path, bytes)) return false;
  path_ = Text(path);
  loadedBytes_ = std::move(bytes);
  return true;
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
  const unsigned generation = ++loadGeneration_;
  if (!pendingDisplay_.isEmpty()) {
    pendingDisplay_.clear();
    document()->setUndoRedoEnabled(true);
    setReadOnly(readOnlyBeforeLoad_);
  }
  QString display = ToDisplayQString(text);
  exactText_ = std::move(text);
  // The first piece ends after a line break, so that no line is built from two pieces.
  qsizetype end = display.size();
  if (end > kTextPieceLength) {
    const qsizetype lineEnd = display.indexOf(u'\n', kTextPieceLength);
    end = lineEnd < 0 ? display.size() : lineEnd + 1;
  }
  settingText_ = true;
  if (end == display.size()) {
    setPlainText(display);
  } else {
    // Pieces are appended as the program's own, not as edits the user could undo.
    document()->setUndoRedoEnabled(false);
    setPlainText(display.first(end));
  }
  settingText_ = false;
  exactTextValid_ = true;
  SetModified(markModified);
  if (end == display.size()) return;
  pendingDisplay_ = std::move(display);
  pendingPosition_ = end;
  readOnlyBeforeLoad_ = isReadOnly();
  setReadOnly(true);
  QTimer::singleShot(0, this, [this, generation] { ShowNextPiece(generation); });
}

void CScrivanoView::ShowNextPiece(unsigned generation) {
  if (generation != loadGeneration_ || pendingDisplay_.isEmpty()) return;
  qsizetype end = pendingDisplay_.size();
  if (end - pendingPosition_ > kTextPieceLength) {
    const qsizetype lineEnd = pendingDisplay_.indexOf(u'\n', pendingPosition_ + kTextPieceLength);
    end = lineEnd < 0 ? pendingDisplay_.size() : lineEnd + 1;
  }
  AppendShown(QStringView(pendingDisplay_).sliced(pendingPosition_, end - pendingPosition_).toString());
  pendingPosition_ = end;
  if (end < pendingDisplay_.size()) {
    QTimer::singleShot(0, this, [this, generation] { ShowNextPiece(generation); });
    return;
  }
  pendingDisplay_.clear();
  document()->setUndoRedoEnabled(true);
  setReadOnly(readOnlyBeforeLoad_);
}

void CScrivanoView::AppendShown(const QString& piece) {
  const bool modified = IsModified();
  settingText_ = true;
  QTextCursor end(document());
  end.movePosition(QTextCursor::End);
  end.insertText(piece);
  settingText_ = false;
  SetModified(modified);
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
  SetText(std::move(text), true);
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
