#include "app/MainFrame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWindow>
#include <vector>

#include "app/EncodingMessages.h"
#include "app/FuncListDlg.h"
#include "app/GeneralDialog.h"
#include "app/QtText.h"
#include "app/ScrivanoApp.h"
#include "app/TextWindow.h"

namespace scrivano {
namespace {

constexpr int kRecentFileCount = 16;
const QString kRecentSection = QStringLiteral("Recent File List");

QAction* AddAction(QMenu* menu, const QString& text, const QString& status, QKeySequence shortcut = {}) {
  QAction* action = menu->addAction(text);
  action->setStatusTip(status);
  if (!shortcut.isEmpty()) action->setShortcut(shortcut);
  return action;
}

QSettings RecentSettings() {
  return QSettings(QStringLiteral("Local AppWizard-Generated Applications"), QStringLiteral("Scrivano"));
}

}  // namespace

CMainFrame::CMainFrame(CScrivanoApp& app)
    : app_(app),
      mdiArea_(new QMdiArea(this)),
      formatLabel_(new QLabel(this)),
      capsLabel_(new QLabel(this)),
      numLabel_(new QLabel(this)),
      scrollLabel_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Scrivano"));
  setWindowIcon(QIcon(QStringLiteral(":/scrivano.png")));
  setAttribute(Qt::WA_QuitOnClose, true);
  setCentralWidget(mdiArea_);
  mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setAcceptDrops(true);
  CreateMenus();
  // The status bar: the message pane, the active document's format, then the caps-lock, num-lock and
  // scroll-lock indicators.
  formatLabel_->setToolTip(tr("The encoding and line break of the active document's file"));
  statusBar()->addPermanentWidget(formatLabel_);
  for (QLabel* label : {capsLabel_, numLabel_, scrollLabel_}) {
    label->setMinimumWidth(fontMetrics().horizontalAdvance(QStringLiteral("SCRL")) + 8);
    label->setAlignment(Qt::AlignCenter);
    statusBar()->addPermanentWidget(label);
  }
  UpdateLockIndicators();
  connect(&timer_, &QTimer::timeout, this, [this] { app_.OnTimer(); });
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::ShowDocumentFormat);
}

void CMainFrame::CreateReopenMenu(QMenu* file) {
  QMenu* reopen = file->addMenu(tr("Reopen with &Encoding"));
  reopen->setStatusTip(tr("Read the active document's file again in another encoding"));
  auto* encodings = new QActionGroup(reopen);
  for (const Charset charset :
       {Charset::kUtf8, Charset::kGb18030, Charset::kBig5, Charset::kUtf16Le, Charset::kUtf16Be}) {
    const QString name = QString::fromLatin1(CharsetName(charset));
    QAction* action = AddAction(reopen, name, tr("Read the active document's file again as %1").arg(name));
    action->setCheckable(true);
    action->setData(static_cast<int>(charset));
    encodings->addAction(action);
    connect(action, &QAction::triggered, this, [this, charset] {
      if (CScrivanoView* view = ActiveView()) app_.ReopenDocument(*view, charset);
    });
  }
  // The program's own files keep their format; the document's encoding is the checked one.
  connect(file, &QMenu::aboutToShow, this, [this, reopen, encodings] {
    const CScrivanoView* view = ActiveView();
    reopen->setEnabled(view && !view->Document()->IsProgramFile());
    for (QAction* action : encodings->actions())
      action->setChecked(view &&
                         action->data().toInt() == static_cast<int>(view->Document()->Format().charset));
  });
}

void CMainFrame::ShowDocumentFormat() {
  const CScrivanoView* view = ActiveView();
  formatLabel_->setText(
      view ? ToQString(FormatCaption(view->Document()->Format(), view->Document()->ReadWithLoss()))
           : QString());
}

void CMainFrame::CreateMenus() {
  QToolBar* toolBar = addToolBar(tr("Standard"));
  toolBar->setObjectName(QStringLiteral("Standard"));
  toolBar->setMovable(true);
  toolBar->setAllowedAreas(Qt::AllToolBarAreas);
  QStyle* look = style();

  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* open =
      AddAction(file, tr("&Open...\tCtrl+O"), tr("Open an existing document"), QKeySequence::Open);
  connect(open, &QAction::triggered, this, &CMainFrame::OpenFile);
  QAction* close = AddAction(file, tr("&Close\tCtrl+F4"), tr("Close the active document"),
                             QKeySequence(Qt::CTRL | Qt::Key_F4));
  connect(close, &QAction::triggered, mdiArea_, &QMdiArea::closeActiveSubWindow);
  QAction* save = AddAction(file, tr("&Save\tCtrl+S"), tr("Save the active document"), QKeySequence::Save);
  connect(save, &QAction::triggered, this, &CMainFrame::Save);
  QAction* saveAs = AddAction(file, tr("Save &As..."), tr("Save the active document with a new name"));
  connect(saveAs, &QAction::triggered, this, &CMainFrame::SaveAs);
  CreateReopenMenu(file);
  file->addSeparator();
  QAction* print =
      AddAction(file, tr("&Print...\tCtrl+P"), tr("Print the active document"), QKeySequence::Print);
  connect(print, &QAction::triggered, this, [this] { Print(false); });
  QAction* preview = AddAction(file, tr("Print Pre&view"), tr("Display full pages"));
  connect(preview, &QAction::triggered, this, [this] { Print(true); });
  file->addSeparator();
  recentMenu_ = file->addMenu(tr("Recent &Files"));
  UpdateRecentMenu();
  file->addSeparator();
  QAction* exit = AddAction(file, tr("E&xit"), tr("Quit the application; prompts to save documents"));
  connect(exit, &QAction::triggered, this, &QWidget::close);

  QMenu* edit = menuBar()->addMenu(tr("&Edit"));
  const auto onView = [this](void (QPlainTextEdit::*member)()) {
    return [this, member] {
      if (CScrivanoView* view = ActiveView()) (view->*member)();
    };
  };
  // Not while a text is still coming in piece by piece: the pieces would follow the text undone.
  connect(AddAction(edit, tr("&Undo\tCtrl+Z"), tr("Undo the last action"), QKeySequence::Undo),
          &QAction::triggered, this, [this] {
            if (CScrivanoView* view = ActiveView(); view && !view->TextLoading()) view->undo();
          });
  edit->addSeparator();
  connect(AddAction(edit, tr("Cu&t\tCtrl+X"), tr("Cut the selection and put it on the Clipboard"),
                    QKeySequence::Cut),
          &QAction::triggered, this, onView(&QPlainTextEdit::cut));
  connect(AddAction(edit, tr("&Copy\tCtrl+C"), tr("Copy the selection and put it on the Clipboard"),
                    QKeySequence::Copy),
          &QAction::triggered, this, onView(&QPlainTextEdit::copy));
  // Paste only what the clipboard offers as text, and only when it offers some.
  QAction* paste =
      AddAction(edit, tr("&Paste\tCtrl+V"), tr("Insert Clipboard contents"), QKeySequence::Paste);
  connect(paste, &QAction::triggered, this, [this] {
    if (CScrivanoView* view = ActiveView()) view->Paste();
  });
  const auto updatePaste = [this, paste] {
    paste->setEnabled(ActiveView() && CScrivanoView::ClipboardOffersText());
  };
  connect(edit, &QMenu::aboutToShow, this, updatePaste);
  connect(QApplication::clipboard(), &QClipboard::dataChanged, this, updatePaste);
  connect(mdiArea_, &QMdiArea::subWindowActivated, this, updatePaste);
  edit->addSeparator();
  QAction* copyAll = AddAction(edit, tr("Copy &All"), tr("Copy all text from Current Window to Clipboard"));
  connect(copyAll, &QAction::triggered, this, [this] {
    if (CScrivanoView* view = ActiveView()) view->CopyAll(app_.Relay());
  });
  QAction* pasteAll =
      AddAction(edit, tr("Paste A&ll"), tr("Paste all text from Clipboard to Current Window"));
  connect(pasteAll, &QAction::triggered, this, [this] {
    if (CScrivanoView* view = ActiveView()) view->PasteAll(app_.Relay());
  });
  QAction* empty = AddAction(edit, tr("&Empty Content"), tr("Empty Content"));
  connect(empty, &QAction::triggered, this, [this] {
    if (CScrivanoView* view = ActiveView()) view->ReplaceText(u"");
  });
  edit->addSeparator();
  QAction* parameters =
      AddAction(edit, tr("Set &Parameters"), tr("Choose the active setting of each parameter"));
  connect(parameters, &QAction::triggered, this, [this] { app_.SetParametersCommand(); });

  QMenu* view = menuBar()->addMenu(tr("&View"));
  QAction* toolBarToggle = toolBar->toggleViewAction();
  toolBarToggle->setText(tr("&Toolbar"));
  toolBarToggle->setStatusTip(tr("Show or hide the toolbar"));
  view->addAction(toolBarToggle);
  QAction* statusToggle = view->addAction(tr("&Status Bar"));
  statusToggle->setCheckable(true);
  statusToggle->setChecked(true);
  statusToggle->setStatusTip(tr("Show or hide the status bar"));
  connect(statusToggle, &QAction::toggled, statusBar(), &QWidget::setVisible);
  QAction* functionList = AddAction(view, tr("&Function List"), tr("Open Function List"));
  connect(functionList, &QAction::triggered, this, [this] {
    if (QWidget* list = app_.FuncList()) {
      list->showNormal();
      list->raise();
    }
  });

  QMenu* window = menuBar()->addMenu(tr("&Window"));
  connect(AddAction(window, tr("&Cascade"), tr("Arrange windows so they overlap")), &QAction::triggered,
          mdiArea_, &QMdiArea::cascadeSubWindows);
  connect(AddAction(window, tr("&Tile"), tr("Arrange windows as non-overlapping tiles")), &QAction::triggered,
          mdiArea_, &QMdiArea::tileSubWindows);
  connect(AddAction(window, tr("&Next Window"), tr("Switch to the next window"), QKeySequence::NextChild),
          &QAction::triggered, mdiArea_, &QMdiArea::activateNextSubWindow);
  // The open windows, numbered, the active one checked.
  QAction* windowsStart = window->addSeparator();
  connect(window, &QMenu::aboutToShow, this, [this, window, windowsStart] {
    const QList<QAction*> actions = window->actions();
    for (qsizetype i = actions.indexOf(windowsStart) + 1; i < actions.size(); ++i) {
      window->removeAction(actions[i]);
      actions[i]->deleteLater();
    }
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    windowsStart->setVisible(!windows.isEmpty());
    for (qsizetype i = 0; i < windows.size(); ++i) {
      QMdiSubWindow* child = windows[i];
      QString title = child->windowTitle();
      title.remove(QStringLiteral("[*]"));
      QAction* action = window->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(title));
      action->setCheckable(true);
      action->setChecked(child == mdiArea_->activeSubWindow());
      connect(action, &QAction::triggered, this, [this, child = QPointer<QMdiSubWindow>(child)] {
        if (child) mdiArea_->setActiveSubWindow(child);
      });
    }
  });

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  QAction* manual = AddAction(help, tr("&Operational Manual"), tr("Open the Operational Manual"),
                              QKeySequence::HelpContents);
  connect(manual, &QAction::triggered, this, [this] { app_.OpenManual(); });
  QAction* about = AddAction(help, tr("&About Scrivano..."),
                             tr("Display program information, version number and copyright"));
  connect(about, &QAction::triggered, this, &CMainFrame::About);

  open->setIcon(look->standardIcon(QStyle::SP_DialogOpenButton));
  save->setIcon(look->standardIcon(QStyle::SP_DialogSaveButton));
  copyAll->setIcon(look->standardIcon(QStyle::SP_FileDialogContentsView));
  pasteAll->setIcon(look->standardIcon(QStyle::SP_ArrowDown));
  functionList->setIcon(look->standardIcon(QStyle::SP_FileDialogDetailedView));
  about->setIcon(look->standardIcon(QStyle::SP_MessageBoxInformation));
  for (QAction* action : {open, save, copyAll, pasteAll, functionList, about}) toolBar->addAction(action);
}

void CMainFrame::SetStatusText(const QString& text) {
  statusBar()->showMessage(text);
}

void CMainFrame::SetTimerPeriod(int milliseconds) {
  timer_.stop();
  timer_.start(milliseconds);
}

void CMainFrame::AddRecentFile(TextView path) {
  QStringList files = RecentFiles();
  const QString file = ToQString(path);
  files.removeAll(file);
  files.prepend(file);
  while (files.size() > kRecentFileCount) files.removeLast();
  QSettings settings = RecentSettings();
  settings.beginGroup(kRecentSection);
  settings.remove(QString());
  for (qsizetype i = 0; i < files.size(); ++i)
    settings.setValue(QStringLiteral("File%1").arg(i + 1), files[i]);
  settings.endGroup();
  UpdateRecentMenu();
}

QStringList CMainFrame::RecentFiles() const {
  QSettings settings = RecentSettings();
  QStringList files;
  for (int i = 1; i <= kRecentFileCount; ++i) {
    const QString file = settings.value(kRecentSection + QStringLiteral("/File%1").arg(i)).toString();
    if (!file.isEmpty()) files.append(file);
  }
  return files;
}

void CMainFrame::UpdateRecentMenu() {
  if (!recentMenu_) return;
  recentMenu_->clear();
  const QStringList files = RecentFiles();
  for (qsizetype i = 0; i < files.size(); ++i) {
    QAction* action = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(files[i]));
    action->setStatusTip(tr("Open this document"));
    const QString file = files[i];
    connect(action, &QAction::triggered, this, [this, file] { app_.OpenDocumentFile(FromQString(file)); });
  }
  recentMenu_->setEnabled(!files.isEmpty());
}

CScrivanoView* CMainFrame::ActiveView() const {
  auto* frame = dynamic_cast<CChildFrame*>(mdiArea_->activeSubWindow());
  return frame ? frame->View() : nullptr;
}

void CMainFrame::UpdateLockIndicators() {
  const platform::LockKeyStates keys = app_.Platform().LockKeys();
  capsLabel_->setText(keys.known && keys.capsLock ? QStringLiteral("CAP") : QString());
  numLabel_->setText(keys.known && keys.numLock ? QStringLiteral("NUM") : QString());
  scrollLabel_->setText(keys.known && keys.scrollLock ? QStringLiteral("SCRL") : QString());
}

int CMainFrame::ExecAboveList(QDialog& dialog) {
  // The Function List stays on top of every window; the program's own dialogs come up above it.
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
  QTimer::singleShot(0, &dialog, [this, &dialog] {
    const QWidget* list = app_.FuncList();
    if (list && list->isVisible() && list->windowHandle() && dialog.windowHandle())
      dialog.windowHandle()->setTransientParent(list->windowHandle());
    dialog.raise();
    dialog.activateWindow();
  });
  return dialog.exec();
}

void CMainFrame::OpenFile() {
  QFileDialog dialog(this, tr("Open"), QString(), tr("All Files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (ExecAboveList(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  app_.OpenDocumentFile(FromQString(dialog.selectedFiles().first()));
}

void CMainFrame::Save() {
  if (CScrivanoView* view = ActiveView()) app_.SaveDocument(*view, view->Document()->PathName());
}

void CMainFrame::SaveAs() {
  CScrivanoView* view = ActiveView();
  if (!view) return;
  QFileDialog dialog(this, tr("Save As"), QString(), tr("All Files (*)"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile(ToQString(view->Document()->PathName()));
  if (ExecAboveList(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString file = dialog.selectedFiles().first();
  if (!app_.SaveDocument(*view, FromQString(file))) return;
  if (auto* frame = dynamic_cast<CChildFrame*>(view->parentWidget())) frame->UpdateTitle();
}

void CMainFrame::Print(bool preview) {
  CScrivanoView* view = ActiveView();
  if (!view) return;
  QPrinter printer;
  if (preview) {
    QPrintPreviewDialog dialog(&printer, this);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, view,
            [view](QPrinter* target) { view->print(target); });
    ExecAboveList(dialog);
    return;
  }
  QPrintDialog dialog(&printer, this);
  if (ExecAboveList(dialog) == QDialog::Accepted) view->print(&printer);
}

void CMainFrame::About() {
  QDialog box(this);
  box.setWindowTitle(tr("About Scrivano"));
  const DialogUnits du(box);
  box.setFixedSize(du.X(235), du.Y(68));
  auto* icon = new QLabel(&box);
  icon->setPixmap(windowIcon().pixmap(32, 32));
  icon->setGeometry(du.X(11), du.Y(17), 32, 32);
  auto* version = new QLabel(tr("Scrivano Version 2.56"), &box);
  version->setGeometry(du.X(40), du.Y(10), du.X(119), du.Y(8));
  auto* ok = new QPushButton(tr("OK"), &box);
  ok->setGeometry(du.X(178), du.Y(7), du.X(50), du.Y(14));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, &box, &QDialog::accept);
  ExecAboveList(box);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    auto* frame = dynamic_cast<CChildFrame*>(window);
    if (frame && !app_.SaveModified(*frame)) {
      event->ignore();
      return;
    }
  }
  event->accept();
  // The Function List is a window of its own; the program ends with the main window all the same.
  QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  std::vector<Text> paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths.push_back(FromQString(url.toLocalFile()));
  if (paths.empty()) return;
  event->acceptProposedAction();
  app_.CollectDroppedFiles(paths);
}

}  // namespace scrivano
