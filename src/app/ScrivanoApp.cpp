#include "app/ScrivanoApp.h"

#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeDatabase>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QStyle>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "app/AppDesktopServices.h"
#include "app/CaptionOverlay.h"
#include "app/EncodingMessages.h"
#include "app/FuncListDlg.h"
#include "app/MainFrame.h"
#include "app/QtPrompts.h"
#include "app/QtText.h"
#include "app/SetParameters.h"
#include "app/TextWindow.h"
#include "app/Translations.h"
#include "app/UiThread.h"
#include "background/StatusCaptions.h"
#include "platform/WaylandSession.h"
#include "tasks/WebPageExtraction.h"
#include "toolkit/TextFiles.h"
#include "web/WebCapture.h"

#ifndef SCRIVANO_MANUAL_SOURCE
#define SCRIVANO_MANUAL_SOURCE ""
#endif

namespace scrivano {
namespace {

using namespace std::chrono_literals;

constexpr int kShortestTimerPeriod = 10;
// The pause in typing after which the Input text is written to its file.
constexpr int kInputSaveDelayMilliseconds = 1500;
constexpr int kCascadeSteps = 4;
constexpr char16_t kManualName[] = u"/Operational Manual.html";
// The program that opens a file with the desktop's default application.
constexpr char kOpenerProgram[] = "xdg-open";

bool EqualsIgnoringAsciiCase(TextView a, TextView b) {
  Text lowerA(a), lowerB(b);
  MakeLower(lowerA);
  MakeLower(lowerB);
  return lowerA == lowerB;
}

Text NotAvailableText(const FunctionEntry& entry) {
  Text text = u"\"" + Text(entry.itemText) + u"\" is not available in this version of Scrivano.";
  const std::string needs = entry.needs ? entry.needs : "";
  if (!needs.empty() && needs != "the desktop") text += u"\r\n\r\nIt needs " + FromUtf8(needs) + u".";
  return text;
}

QWidget* OwnWidget(WindowHandle window, WindowHandle mainHandle, QWidget* main, WindowHandle listHandle,
                   QWidget* list) {
  if (window && window == mainHandle) return main;
  if (window && window == listHandle) return list;
  return nullptr;
}

}  // namespace

Text TaskCaption(int taskCount) {
  if (taskCount == 0) return FromQString(CFuncListDlg::tr("Function List"));
  return FromQString(CScrivanoApp::tr("Processing %1 task(s). Please wait...").arg(taskCount));
}

std::uint64_t TickCount() {
  return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
}

void ReportElapsed(std::uint64_t& record, int count, std::uint64_t nowMilliseconds) {
  if (count == 0) {
    record = nowMilliseconds;
    return;
  }
  const std::uint64_t seconds = (nowMilliseconds - record) / 1000;
  record = seconds;
  if (seconds <= 10) return;
  ShowMessage(u"Spent " + FromUtf8(std::to_string(count)) + u"/" + FromUtf8(std::to_string(seconds)) +
                  u" (characters/seconds) to process the file(s).",
              u"Notice", MessageButtons::Ok, false);
}

CScrivanoApp::CScrivanoApp(ProgramPaths paths, platform::DesktopPlatform& desktop, AppOptions options)
    : paths_(std::move(paths)), desktop_(desktop), options_(std::move(options)) {
  inputSaveTimer_.setSingleShot(true);
  inputSaveTimer_.setInterval(kInputSaveDelayMilliseconds);
  connect(&inputSaveTimer_, &QTimer::timeout, this, [this] { SaveInputNow(); });
  services_ = std::make_unique<AppDesktopServices>(
      desktop_, [this] { return ListRect(); },
      [this](TextView path) {
        const Text file(path);
        return RunOnUiThread([this, &file] { return OpenFileWithDefaultApplication(file); });
      },
      [this](WindowHandle window) { ActivateWindow(window); },
      [this](WindowHandle window, TextView text) {
        // Other programs' windows get the text as their title, to be put back by the caller.
        if (!SetOwnWindowCaption(window, text)) desktop_.SetWindowTitle(window, text);
      });
}

CScrivanoApp::~CScrivanoApp() {
  // The duties' window search uses the companion link: it ends first.
  duties_.reset();
  SetStatusCaptions(nullptr);
  captions_.reset();
  delete manualWindow_;
  delete funcList_;
  delete mainFrame_;
}

ClipboardRelay& CScrivanoApp::Relay() {
  return services_->Relay();
}

platform::Rect CScrivanoApp::ListRect() {
  // The frame the window manager drew around the list, as other programs' windows meet it; it is known
  // only once the list has been framed.
  if (const WindowHandle list = funcListHandle_.load()) {
    const platform::Rect frame = desktop_.FrameRect(list);
    if (frame.Width() > 0) return frame;
  }
  std::lock_guard lock(listMutex_);
  return funcList_ ? funcList_->WindowRect() : platform::Rect{};
}

bool CScrivanoApp::InitInstance() {
  // Calls from tasks wait for the user-interface thread again (a program that starts an application
  // object after another one ended, as the tests do).
  SetUiClosing(false);
  // The desktop's halves of the core: documents, questions, desktop services, captions.
  SetDocumentOpener([this](TextView path) {
    const Text file(path);
    return RunOnUiThread([this, file] { return OpenDocumentFile(file) != nullptr; });
  });
  if (options_.installPrompts) {
    prompts_ = std::make_unique<QtPrompts>(desktop_);
    SetPromptHandler(prompts_.get());
  }
  SetDesktopServices(services_.get());
  scrivano::SetOwnWindowCaption(
      [this](WindowHandle window, TextView text) { return SetOwnWindowCaption(window, text); });
  // The shipped parameters on a first start.
  InstallDefaultParameterFile(paths_);
  Parameters().SetParameterFile(paths_.parameterFile);

  // 4. The main frame.
  mainFrame_ = new CMainFrame(*this);
  // 6. Shown, then placed over the whole desktop but two pixels at each side, in front, the cursor on it.
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    mainFrame_->setGeometry(screen->geometry().adjusted(2, 0, -2, 0));
  mainFrame_->show();
  // A window manager frames the window a moment after it is shown; the placement counts the frame in.
  const auto framedBy = std::chrono::steady_clock::now() + 500ms;
  while (QGuiApplication::platformName() == QStringLiteral("xcb") && mainFrame_->windowHandle() &&
         mainFrame_->windowHandle()->frameMargins().isNull() && std::chrono::steady_clock::now() < framedBy)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->geometry();
    const QMargins frame =
        mainFrame_->windowHandle() ? mainFrame_->windowHandle()->frameMargins() : QMargins();
    mainFrame_->move(desktop.x() + 2, desktop.y());
    mainFrame_->resize(desktop.width() - 4 - frame.left() - frame.right(),
                       desktop.height() - frame.top() - frame.bottom());
  }
  mainWindowHandle_ = static_cast<WindowHandle>(mainFrame_->winId());
  Parameters().mainWindowHandle = mainWindowHandle_.load();
  overlay_ = std::make_unique<CCaptionOverlay>(desktop_);
  captions_ = std::make_unique<StatusCaptions>(
      desktop_,
      [overlay = overlay_.get()](WindowHandle window, TextView text) { overlay->ShowOver(window, text); });
  SetStatusCaptions(captions_.get());
  duties_ = std::make_unique<DesktopDuties>(desktop_, mainWindowHandle_.load());
  // The companion program's way back: the socket named after the main window.
  companionLink_ = std::make_unique<CompanionLink>(desktop_, paths_.dataFolder + u"/vexo1.ini");
  if (!companionLink_->StartEndpoint(mainWindowHandle_))
    mainFrame_->SetStatusText(tr("The companion program cannot reach Scrivano: no socket"));
  SetWebPageExtractor([this](TaskContext& context) { return ExtractWebpageText(context, *companionLink_); });
  translationReach_ = std::make_unique<AutoTranslationReach>(AutoTranslationReach{
      desktop_, services_->Relay(), *companionLink_, [this](WindowHandle window, TextView text) {
        if (!SetOwnWindowCaption(window, text)) desktop_.SetWindowTitle(window, text);
      }});
  duties_->EnableAutoTranslation(*translationReach_, translationRelay_, [this] { return openedWindows_; });
  ActivateWindow(mainWindowHandle_);
  const QPoint centre = mainFrame_->mapToGlobal(mainFrame_->rect().center());
  desktop_.SetCursorPosition({centre.x(), centre.y()});
  // 7. and 8.
  mainFrame_->SetStatusText(tr("Initialization..."));
  clientRect_ = mainFrame_->MdiArea()->viewport()->rect();
  // 9. The Function List, a window of its own, shown at once.
  {
    std::lock_guard lock(listMutex_);
    funcList_ = new CFuncListDlg(options_.entries, paths_.parameterFile);
  }
  funcList_->onDoubleClick = [this](int number) { StartTask(number); };
  if (prompts_) prompts_->SetWindowToCover([this] { return static_cast<QWidget*>(funcList_); });
  funcList_->show();
  funcListHandle_ = static_cast<WindowHandle>(funcList_->winId());
  // 10. The Output window, then the Input window, each file created empty when missing.
  for (const Text* path : {&paths_.outputFile, &paths_.inputFile}) {
    if (!FileExists(*path, false) && !WriteTextFile(*path, u"", false)) continue;
    OpenDocumentFile(*path);
  }
  // 11.
  ApplyParameters();
  mainFrame_->SetStatusText(tr("Ready"));
  return true;
}

bool CScrivanoApp::ExitInstance() {
  // Tasks still asking the user or reading a window get their answers from the event loop meanwhile.
  const auto waitForTasks = [this](std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::unique_lock lock(threadsMutex_);
    while (runningThreads_ > 0 && std::chrono::steady_clock::now() < deadline) {
      lock.unlock();
      // The main window is gone: a task waiting on a question gets a cancel.
      if (prompts_) prompts_->CancelTaskPrompts();
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
      lock.lock();
      threadsEnded_.wait_for(lock, 10ms);
    }
    return runningThreads_ == 0;
  };
  bool ended = waitForTasks(3s);
  SetUiClosing(true);
  if (!ended) ended = waitForTasks(1s);

  // 1. The Function List goes, storing its placement.
  CFuncListDlg* list = nullptr;
  {
    std::lock_guard lock(listMutex_);
    std::swap(list, funcList_);
  }
  delete list;
  // 2. The companion goes when it waits out of sight; 3. windows the program opened are asked to close
  // and the companion's media settings are switched back on.
  if (companionLink_) {
    CloseCompanionAtExit(*companionLink_, openedWindows_);
    if (!openedWindows_.empty()) SetBrowserMedia(false, *companionLink_);
  }
  Text opened = openedWindows_;
  int pos = 0;
  Text item;
  while (!opened.empty() && pos != Length(opened)) {
    const size_t tab = opened.find(u'\t', static_cast<size_t>(pos));
    item = opened.substr(static_cast<size_t>(pos),
                         tab == Text::npos ? Text::npos : tab - static_cast<size_t>(pos));
    pos = tab == Text::npos ? Length(opened) : static_cast<int>(tab) + 1;
    if (const WindowHandle window = std::strtoull(ToUtf8(item).c_str(), nullptr, 10))
      desktop_.RequestClose(window);
  }
  SetStatusCaptions(nullptr);
  captions_.reset();
  scrivano::SetOwnWindowCaption({});
  SetWebPageExtractor({});
  SetDesktopServices(nullptr);
  SetDocumentOpener({});
  if (prompts_) SetPromptHandler(nullptr);
  return ended;
}

CScrivanoView* CScrivanoApp::OpenDocumentFile(TextView path) {
  // An open document is brought forward instead of being opened twice.
  for (QMdiSubWindow* window : mainFrame_->MdiArea()->subWindowList()) {
    auto* frame = dynamic_cast<CChildFrame*>(window);
    if (!frame) continue;
    if (frame->View()->Document()->PathName() == path) {
      mainFrame_->MdiArea()->setActiveSubWindow(frame);
      return frame->View();
    }
  }
  auto* document = new CScrivanoDoc;
  auto* view = new CScrivanoView(document);
  document->setParent(view);
  if (path == paths_.inputFile || path == paths_.outputFile) document->SetProgramFile();
  if (!document->Load(path, *view)) {
    delete view;
    ShowMessage(u"Failed to open document.\r\n\r\n" + Text(path), u"Scrivano", MessageButtons::Ok, false);
    return nullptr;
  }
  auto* frame = new CChildFrame(view);
  frame->closeQuery = [this](CChildFrame& closing) { return SaveModified(closing); };
  mainFrame_->MdiArea()->addSubWindow(frame);
  connect(view, &QObject::destroyed, this, [this, view] {
    if (inputView_ == view) inputView_ = nullptr;
    if (outputView_ == view) outputView_ = nullptr;
  });
  frame->show();
  PlaceRoleWindow(*view, *frame);
  mainFrame_->AddRecentFile(path);
  mainFrame_->ShowDocumentFormat();
  document->TellReadWithLoss();
  return view;
}

bool CScrivanoApp::ReopenDocument(CScrivanoView& view, Charset charset) {
  CScrivanoDoc& document = *view.Document();
  if (document.IsProgramFile() || view.TextLoading()) return false;
  if (view.IsModified()) {
    MessageRequest question{ReopenQuestion(document.Title(), charset), u"Scrivano", MessageButtons::YesNo,
                            false};
    if (ShowBox(question) != kResultYes) return false;
  }
  const Text path = document.PathName();
  if (!document.Load(path, view, charset)) {
    ShowMessage(u"Failed to open document.\r\n\r\n" + path, u"Scrivano", MessageButtons::Ok, false);
    return false;
  }
  mainFrame_->ShowDocumentFormat();
  document.TellReadWithLoss();
  return true;
}

void CScrivanoApp::PlaceRoleWindow(CScrivanoView& view, CChildFrame& frame) {
  // The Input window takes the upper half of the client area, the Output window the lower half; paths
  // are compared exactly.
  const Text& path = view.Document()->PathName();
  const QRect& client = clientRect_;
  if (path == paths_.inputFile) {
    inputView_ = &view;
    frame.setGeometry(client.left(), client.top(), client.width(), client.height() / 2);
  } else if (path == paths_.outputFile) {
    outputView_ = &view;
    const int top = client.top() + client.height() / 2;
    frame.setGeometry(client.left(), top, client.width(), client.top() + client.height() - top);
  } else {
    // Any other file: cascaded over the client area at nearly its whole size, each further one a step
    // down and to the right.
    int others = 0;
    for (QMdiSubWindow* window : mainFrame_->MdiArea()->subWindowList()) {
      auto* child = dynamic_cast<CChildFrame*>(window);
      if (child && child != &frame && child->View() != inputView_ && child->View() != outputView_) ++others;
    }
    const int step = frame.style()->pixelMetric(QStyle::PM_TitleBarHeight) + 4;
    const int offset = (others % kCascadeSteps) * step;
    frame.setGeometry(client.left() + offset, client.top() + offset,
                      client.width() - (kCascadeSteps - 1) * step,
                      client.height() - (kCascadeSteps - 1) * step);
  }
  if (&view == inputView_) {
    // The Input text is kept safe on disk: written (atomically) a moment after each pause in typing.
    connect(view.document(), &QTextDocument::contentsChanged, this, [this] { inputSaveTimer_.start(); });
  }
}

void CScrivanoApp::SaveInputNow() {
  inputSaveTimer_.stop();
  if (!inputView_ || !inputView_->IsModified()) return;
  if (inputView_->Document()->Save(paths_.inputFile, *inputView_) != CScrivanoDoc::SaveResult::kSaved) {
    mainFrame_->SetStatusText(
        tr("The Input text could not be written to %1").arg(ToQString(paths_.inputFile)));
    return;
  }
  inputView_->SetModified(false);
}

bool CScrivanoApp::SaveDocument(CScrivanoView& view, TextView pathToSave) {
  // A copy: the caller's path is often the document's own, which the save replaces.
  const Text path(pathToSave);
  switch (view.Document()->Save(path, view)) {
    case CScrivanoDoc::SaveResult::kSaved:
      break;
    case CScrivanoDoc::SaveResult::kCancelled:
      return false;
    case CScrivanoDoc::SaveResult::kFailed:
      ShowMessage(u"Failed to save document.\r\n\r\n" + Text(path), u"Scrivano", MessageButtons::Ok, false);
      return false;
  }
  view.SetModified(false);
  mainFrame_->ShowDocumentFormat();
  if (auto* frame = dynamic_cast<CChildFrame*>(view.parentWidget())) frame->UpdateTitle();
  mainFrame_->AddRecentFile(path);
  if (EqualsIgnoringAsciiCase(path, paths_.parameterFile) && mainFrame_->isVisible()) ApplyParameters();
  return true;
}

bool CScrivanoApp::SaveModified(CChildFrame& frame) {
  CScrivanoView& view = *frame.View();
  if (!view.IsModified()) return true;
  // Yes is the default, as in every editor: Enter keeps the text.
  MessageRequest question{u"Save changes to " + view.Document()->Title() + u"?", u"Scrivano",
                          MessageButtons::YesNoCancel, false};
  question.firstButtonDefault = true;
  const int answer = ShowBox(question);
  if (answer == kResultCancel) return false;
  return answer != kResultYes || SaveDocument(view, view.Document()->PathName());
}

void CScrivanoApp::ApplyParameters() {
  // 1. The parameters, with the main window the message boxes must tell apart. A file that cannot be read
  //    as a parameter file leaves every parameter empty; the user hears of it once, not at every apply.
  Parameters().mainWindowHandle = mainWindowHandle_.load();
  if (Parameters().LoadParameters(kParameterCount)) {
    parameterFileComplained_ = false;
  } else if (!parameterFileComplained_) {
    parameterFileComplained_ = true;
    ShowMessage(u"The parameter file \"" + paths_.parameterFile +
                    u"\" could not be read as one (no [PARAMETERS] section): every parameter is empty.",
                u"Notice", MessageButtons::Ok, false);
  }
  // 2. Timer 1; a period below 10 ms would keep the user-interface thread busy, so 10 ms is the least.
  timerPeriod_ = std::max(kShortestTimerPeriod, ParameterInt(Param::kTimerPeriod));
  mainFrame_->SetTimerPeriod(timerPeriod_);
  // 3. With automatic translation on, its companion program runs.
  if (ParameterInt(Param::kAutoTranslationWait) > 0 && companionLink_)
    EnsureCompanionRunning(*companionLink_, paths_.companionProgram, openedWindows_);
  // 4. The timer cycle opens the translation page once it has found the companion.
  translationRelay_.companionState = kCheckTranslationSetting;
}

void CScrivanoApp::SetParametersCommand() {
  if (EditParameterFile(paths_.parameterFile)) ApplyParameters();
}

void CScrivanoApp::OpenManual() {
  const Text shipped = paths_.guideFolder + kManualName;
  const Text source = FromUtf8(SCRIVANO_MANUAL_SOURCE);
  // The manual in the interface's language when there is one ("Operational Manual.zh_CN.html"), else
  // the English one.
  const auto inLanguage = [](const Text& path) {
    const QString language = InterfaceLanguage();
    return language.isEmpty() ? Text()
                              : path.substr(0, path.size() - 5) + u"." + FromQString(language) + u".html";
  };
  for (const Text& path : {inLanguage(shipped), inLanguage(source), shipped, source}) {
    if (!path.empty() && FileExists(path, false)) {
      // The manual is ours: when no browser shows it, a window of our own does.
      LaunchDefaultApplication(path, [this, path](TextView) { ShowManualWindow(path); });
      return;
    }
  }
  ShowNotice(u"The Operational Manual was not found:\r\n\r\n" + shipped);
}

void CScrivanoApp::ShowManualWindow(TextView path) {
  if (!manualWindow_) {
    manualWindow_ = new QTextBrowser;
    manualWindow_->setAttribute(Qt::WA_DeleteOnClose);
    manualWindow_->setAttribute(Qt::WA_QuitOnClose, false);
    manualWindow_->setWindowTitle(tr("Operational Manual"));
    manualWindow_->setOpenExternalLinks(true);
    const QRect frame = mainFrame_->geometry();
    manualWindow_->resize(std::min(900, frame.width() * 3 / 4), frame.height() * 3 / 4);
    manualWindow_->move(frame.center() - manualWindow_->rect().center());
  }
  manualWindow_->setSource(QUrl::fromLocalFile(ToQString(path)));
  manualWindow_->show();
  manualWindow_->raise();
  manualWindow_->activateWindow();
}

void CScrivanoApp::OpenHandedFiles(const QStringList& files) {
  for (const QString& file : files) OpenDocumentFile(FromQString(file));
  QWidget* main = mainFrame_;
  if (main->isMinimized()) main->showNormal();
  main->raise();
  main->activateWindow();
  // A window manager may keep an application from taking the focus itself; asked as a pager asks, it
  // brings the window to the front.
  desktop_.RequestActivation(mainWindowHandle_);
}

void CScrivanoApp::CollectDroppedFiles(const std::vector<Text>& paths) {
  // 1. One path a line, each followed by a line break.
  Text list;
  for (const Text& path : paths) list += path + u"\r\n";
  // 2. and 3. Into the Input window, after its old text when the user keeps it.
  if (!inputView_) OpenDocumentFile(paths_.inputFile);
  if (!inputView_) return;
  const bool keep = AskYesNo(u"Keep original input text?", u"Notice");
  if (!inputView_) return;
  inputView_->ReplaceText(keep ? inputView_->GetText() + u"\r\n" + list : list);
}

void CScrivanoApp::StartTask(int number) {
  {
    std::lock_guard lock(threadsMutex_);
    ++runningThreads_;
  }
  std::thread([this, number] {
    platform::LowerCurrentThreadPriority();
    DispatchFunction(number);
    TaskEnded();
  }).detach();
}

void CScrivanoApp::TaskEnded() {
  std::lock_guard lock(threadsMutex_);
  --runningThreads_;
  threadsEnded_.notify_all();
}

void CScrivanoApp::DispatchFunction(int number) {
  // 1. and 2.
  Text workingText;
  TaskContext context;
  context.processedCount = -1;
  ++taskCount_;
  // 3. and 4. Entry 0 leaves the caption alone.
  if (number > 0) ShowTaskCount();
  // 5. and 6. The Input window's text, the window opened again when it was closed.
  RunOnUiThread([&] {
    if (!inputView_ && number > 0) OpenDocumentFile(paths_.inputFile);
    if (inputView_) workingText = inputView_->GetText();
  });
  // 7. to 9.
  const int defaultCount = Length(workingText);
  ReportElapsed(context.startTick, 0, TickCount());
  context.targetWindow = OfficeWindowAtListCorner(true);
  context.workingText = &workingText;
  // 10. and 11.
  if (RunEntry(number, context)) {
    ActivateWindow(mainWindowHandle_);
    ReportElapsed(context.startTick, context.processedCount >= 0 ? context.processedCount : defaultCount,
                  TickCount());
    std::lock_guard lock(pendingMutex_);
    pendingText_ = workingText;
    ++pendingCount_;
  }
  // 12.
  --taskCount_;
  ShowTaskCount();
}

void CScrivanoApp::ShowTaskCount() {
  // The count is read on the user-interface thread when the caption is set, so that of two tasks ending
  // together the later caption is always the true one.
  RunOnUiThread([this] { ShowCaption(funcListHandle_, TaskCaption(taskCount_.load()), false); });
}

bool CScrivanoApp::RunEntry(int number, TaskContext& context) {
  // No selection or a number beyond the list: no operation, the working text goes back as it is.
  if (number < 0 || number >= static_cast<int>(options_.entries.size())) return true;
  const FunctionEntry& entry = options_.entries[static_cast<size_t>(number)];
  if (!entry.run) {
    switch (number) {
      case 0:
        return ReturnToScrivano(context);
      case 13:
        return ReplaceInOfficeDocuments(context);
      case 11: {
        std::lock_guard lock(requestMutex_);
        AddRequest(requestList_, kLaunchMenuRequest);
        return false;
      }
      case 18:
        QMetaObject::invokeMethod(
            mainFrame_, [this] { mainFrame_->close(); }, Qt::QueuedConnection);
        return false;
      default:
        ShowNotice(NotAvailableText(entry));
        return false;
    }
  }
  if (number == 6) {
    context.companionPath = paths_.companionProgram;
    context.targetWindow = mainWindowHandle_;
    context.openedWindows = &openedWindows_;
  }
  try {
    return entry.run(context);
  } catch (const DesktopUnavailable& e) {
    ShowNotice(FromUtf8(e.what()));
  } catch (const std::exception& e) {
    ShowNotice(u"\"" + Text(entry.itemText) + u"\" stopped:\r\n\r\n" + FromUtf8(e.what()));
  }
  return false;
}

bool CScrivanoApp::ReturnToScrivano(TaskContext& context) {
  ActivateWindow(mainWindowHandle_);
  if (ParameterInt(Param::kEntry0Report) == 0) return false;
  // The window report: class name and title of the window at the list's corner, whatever its class.
  DesktopServices* services = scrivano::Desktop();
  context.targetWindow = services ? services->WindowAtListCorner(true) : 0;
  context.scratchText.clear();
  if (services && context.targetWindow)
    context.scratchText += u"\r\n\r\n" + services->WindowClassName(context.targetWindow) + u"\r\n" +
                           services->WindowTitle(context.targetWindow);
  else if (services)
    context.scratchText += u"\r\n\r\n" + platform::NoX11WindowFound(u"at the Function List's corner");
  *context.workingText = u"\r\n\r\n" + context.scratchText;
  return true;
}

bool CScrivanoApp::ReplaceInOfficeDocuments(TaskContext& context) {
  // The report goes straight into the Input window; the completion message is handed back. When nothing
  // was replaced neither happens: the Input window keeps the user's text, the box said why.
  std::optional<Text> report;
  try {
    report = services_->ReplaceInWordDocuments(*context.workingText);
  } catch (const std::exception& e) {
    ShowNotice(FromUtf8(e.what()));
    return false;
  }
  if (!report) return false;
  RunOnUiThread([&] {
    if (!inputView_) OpenDocumentFile(paths_.inputFile);
    if (inputView_) inputView_->ReplaceText(*report);
  });
  return true;
}

void CScrivanoApp::ActivateWindow(WindowHandle window) {
  std::unique_lock lock(activationMutex_, std::try_to_lock);
  if (!lock.owns_lock() || !window) return;
  if (window == mainWindowHandle_.load() || window == funcListHandle_.load()) {
    RunOnUiThread([&] {
      QWidget* widget = OwnWidget(window, mainWindowHandle_, mainFrame_, funcListHandle_, funcList_);
      if (!widget) return;
      if (widget->isMinimized()) widget->showNormal();
      widget->raise();
      widget->activateWindow();
    });
    return;
  }
  // Another program's window: asked for until it is in front, it is gone, the user holds the right
  // button, or two seconds have passed (a window manager may refuse for good).
  for (int attempt = 0; attempt < 400; ++attempt) {
    if (desktop_.RightButtonDown() || !desktop_.IsWindow(window) || desktop_.ForegroundWindow() == window ||
        desktop_.WindowClassName(window) == u"WNWB Input")
      break;
    desktop_.RequestActivation(window);
    std::this_thread::sleep_for(5ms);
  }
}

bool CScrivanoApp::SetOwnWindowCaption(WindowHandle window, TextView text) {
  if (!window || (window != mainWindowHandle_.load() && window != funcListHandle_.load())) return false;
  const QString title = ToQString(text);
  const auto setTitle = [this, window, title] {
    if (QWidget* widget = OwnWidget(window, mainWindowHandle_, mainFrame_, funcListHandle_, funcList_))
      widget->setWindowTitle(title);
  };
  // Queued from other threads, in order, without waiting: a caption's restore may come while the
  // user-interface thread is shutting down and waits for it.
  if (OnUiThread())
    setTitle();
  else
    QMetaObject::invokeMethod(this, setTitle, Qt::QueuedConnection);
  return true;
}

void CScrivanoApp::OnTimer() {
  if (timerBusy_) return;
  timerBusy_ = true;
  RunTimerCycle(*this, duties_.get());
  mainFrame_->UpdateLockIndicators();
  timerBusy_ = false;
}

Text CScrivanoApp::RequestList() {
  std::lock_guard lock(requestMutex_);
  return requestList_;
}

void CScrivanoApp::HandBackResult() {
  Text text;
  {
    std::lock_guard lock(pendingMutex_);
    if (pendingCount_ <= 0) return;
    // The last hand-back of a result takes it; another tick with the same result gets a copy.
    if (--pendingCount_ == 0)
      text = std::move(pendingText_);
    else
      text = pendingText_;
  }
  if (outputView_) {
    outputView_->ReplaceText(std::move(text));
    SaveDocument(*outputView_, paths_.outputFile);
    if (auto* frame = dynamic_cast<CChildFrame*>(outputView_->parentWidget()))
      mainFrame_->MdiArea()->setActiveSubWindow(frame);
    return;
  }
  // No Output window: the file is written and opened, which brings the window back.
  WriteTextFile(paths_.outputFile, text, true);
}

bool CScrivanoApp::TakeRequest(int n) {
  std::lock_guard lock(requestMutex_);
  return RemoveRequest(requestList_, n);
}

void CScrivanoApp::OpenDocument(TextView path) {
  OpenDocumentFile(path);
}

bool CScrivanoApp::OpenFileWithDefaultApplication(TextView path) {
  return LaunchDefaultApplication(path, {});
}

void CScrivanoApp::OpenWithDefaultApplication(TextView path) {
  const Text file(path);
  LaunchDefaultApplication(path, [file](TextView reason) {
    ShowNotice(u"Cannot open \"" + file + u"\".\r\n\r\n" + Text(reason));
  });
}

bool CScrivanoApp::LaunchDefaultApplication(TextView path, std::function<void(TextView reason)> onFailure) {
  const auto fail = [&onFailure](TextView reason) {
    if (onFailure) onFailure(reason);
    return false;
  };
  if (options_.openWithDefaultApplication) {
    return options_.openWithDefaultApplication(path) ||
           fail(u"No program could open it with the desktop's default application.");
  }
  const QString file = ToQString(path);
  const QString opener = QStandardPaths::findExecutable(QString::fromLatin1(kOpenerProgram));
  const Text howToSetDefault =
      u"To choose the program for this kind of file, install xdg-utils and run:\r\n"
      u"xdg-mime default PROGRAM.desktop " +
      FromQString(QMimeDatabase().mimeTypeForFile(file).name());
  if (opener.isEmpty())
    return fail(u"No program opens files with their default application here: " + FromUtf8(kOpenerProgram) +
                u" was not found.\r\n\r\n" + howToSetDefault);
  // The opener tells whether it found a program only by its exit status; a program it starts may keep
  // it running, which counts as success.
  auto* process = new QProcess(this);
  process->setProgram(opener);
  process->setArguments({file});
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  connect(process, &QProcess::finished, this,
          [process, onFailure, howToSetDefault, opener](int exitCode, QProcess::ExitStatus status) {
            process->deleteLater();
            if (status == QProcess::NormalExit && exitCode == 0) return;
            if (onFailure)
              onFailure(FromQString(opener) + u" found no program to open it (exit status " +
                        FromUtf8(std::to_string(exitCode)) + u").\r\n\r\n" + howToSetDefault);
          });
  process->start();
  if (!process->waitForStarted(3000)) {
    process->deleteLater();
    return fail(u"" + FromQString(opener) + u" could not be started.\r\n\r\n" + howToSetDefault);
  }
  return true;
}

}  // namespace scrivano
