#include "companion/CompanionWindow.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QFile>
#include <QLocalSocket>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>
#include <QWebEngineUrlRequestInterceptor>
#include <QWebEngineView>
#include <atomic>
#include <cstdio>

#include "settings/IniFile.h"

namespace scrivano::companion {
namespace {

// Longest time one page may take to load before its address is reported as timed out.
constexpr int kPageTimeoutMs = 30000;
constexpr char kSeparatorLine[] = "=====";

// When a page is read: once its document was parsed and has not changed for kQuietMs, and it either
// finished loading or has been waiting kLoadGraceMs for the rest of what it loads (a slow picture, an
// advertisement, a connection that never ends); after kSettleMs from the parse at the latest.
constexpr int kQuietMs = 150;
constexpr int kLoadGraceMs = 500;
constexpr int kSettleMs = 3000;
constexpr int kPollMs = 40;
// A document still arriving after kStalledMs is read as far as it came.
constexpr int kStalledMs = 8000;

// Notes the time of the page's last change, from the start of its document, in the application world.
constexpr char kWatchScript[] = R"JS(
(function () {
  window.scrivanoChanged = performance.now();
  new MutationObserver(function () { window.scrivanoChanged = performance.now(); })
    .observe(document, { childList: true, subtree: true, characterData: true });
})();
)JS";

QString ReadResource(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The extraction's lines, each ended by "\r\n" (the script gave them as it wants them kept).
QString CrLfLines(const QString& text) {
  if (text.isEmpty()) return text;
  QString out = text;
  out.replace(QLatin1Char('\r'), QString());
  out.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return out + QStringLiteral("\r\n");
}

void Log(const QString& line) {
  std::fprintf(stderr, "vexo1: %s\n", line.toLocal8Bit().constData());
}

}  // namespace

// What extraction leaves out: the page's text needs its document and scripts, not its pictures, fonts,
// media or frames.
class TextOnlyInterceptor : public QWebEngineUrlRequestInterceptor {
 public:
  explicit TextOnlyInterceptor(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}
  std::atomic<bool> on{false};

  void interceptRequest(QWebEngineUrlRequestInfo& info) override {
    if (!on) return;
    switch (info.resourceType()) {
      case QWebEngineUrlRequestInfo::ResourceTypeImage:
      case QWebEngineUrlRequestInfo::ResourceTypeFontResource:
      case QWebEngineUrlRequestInfo::ResourceTypeMedia:
      case QWebEngineUrlRequestInfo::ResourceTypeObject:
      case QWebEngineUrlRequestInfo::ResourceTypeSubFrame:
      case QWebEngineUrlRequestInfo::ResourceTypeFavicon:
      case QWebEngineUrlRequestInfo::ResourceTypePrefetch:
      case QWebEngineUrlRequestInfo::ResourceTypePing:
      case QWebEngineUrlRequestInfo::ResourceTypeCspReport:
      case QWebEngineUrlRequestInfo::ResourceTypePluginResource:
        info.block(true);
        break;
      default:
        break;
    }
  }
};

CCompanionWindow::CCompanionWindow(std::uint64_t replyWindow, QString settingsFile)
    : replyWindow_(replyWindow),
      settingsFile_(std::move(settingsFile)),
      addressLine_(new QLineEdit(this)),
      view_(new QWebEngineView(this)) {
  setWindowTitle(QStringLiteral("vexo1"));
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->addWidget(addressLine_);
  layout->addWidget(view_, 1);
  setCentralWidget(central);
  resize(1000, 700);

  // Readability and the extraction run in a world of their own that the page's scripts cannot reach,
  // only when a page is read; the watch of the page's changes runs in that world from its start.
  extractScript_ = ReadResource(QStringLiteral(":/readability/Readability.js")) + QStringLiteral("\n") +
                   ReadResource(QStringLiteral(":/companion/PageText.js"));
  QWebEngineScript watch;
  watch.setName(QStringLiteral("change-watch"));
  watch.setSourceCode(QString::fromLatin1(kWatchScript));
  watch.setInjectionPoint(QWebEngineScript::DocumentCreation);
  watch.setWorldId(QWebEngineScript::ApplicationWorld);
  watch.setRunsOnSubFrames(false);
  view_->page()->scripts().insert(watch);
  interceptor_ = new TextOnlyInterceptor(this);
  view_->page()->profile()->setUrlRequestInterceptor(interceptor_);

  connect(addressLine_, &QLineEdit::returnPressed, this,
          [this] { view_->setUrl(QUrl::fromUserInput(addressLine_->text())); });
  connect(view_, &QWebEngineView::urlChanged, this,
          [this](const QUrl& url) { addressLine_->setText(url.toString()); });
  connect(view_->page(), &QWebEnginePage::loadingChanged, this, &CCompanionWindow::OnLoadingChanged);
  pageTimer_.setSingleShot(true);
  connect(&pageTimer_, &QTimer::timeout, this, [this] {
    // A page that never finishes loading is read as far as it came; one that never showed a document
    // is given up.
    view_->stop();
    view_->page()->runJavaScript(
        QStringLiteral("document.body && document.body.textContent.trim() ? 1 : 0"),
        QWebEngineScript::ApplicationWorld, [this, serial = pageSerial_](const QVariant& shown) {
          if (serial != pageSerial_ || pageDone_) return;
          if (shown.toInt() == 1)
            PageEnded(true, QString());
          else
            PageEnded(false,
                      QStringLiteral("the page did not load within %1 seconds").arg(kPageTimeoutMs / 1000));
        });
  });
  connect(&server_, &QLocalServer::newConnection, this, &CCompanionWindow::OnConnection);
  ApplyMediaSettings();
}

void CCompanionWindow::WhenPageViewReady(std::function<void()> ready) {
  // Once, on the first page's end or after five seconds, whichever comes first.
  auto* once = new QObject(this);
  const auto fire = [once, ready] {
    if (once->property("fired").toBool()) return;
    once->setProperty("fired", true);
    once->deleteLater();
    ready();
  };
  connect(view_, &QWebEngineView::loadFinished, once, fire);
  QTimer::singleShot(5000, once, fire);
  view_->setUrl(QUrl(QStringLiteral("about:blank")));
}

bool CCompanionWindow::event(QEvent* event) {
  // The page view makes the window native again once (for its drawing surface), which gives it a new
  // id: the socket follows, so that Scrivano finds it from the window it sees.
  if (event->type() == QEvent::WinIdChange && serving_)
    QTimer::singleShot(0, this, [this] { StartServing(); });
  return QMainWindow::event(event);
}

void CCompanionWindow::closeEvent(QCloseEvent* event) {
  QMainWindow::closeEvent(event);
  if (event->isAccepted()) QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

bool CCompanionWindow::StartServing() {
  serving_ = true;
  const QString previous = socketFile_;
  const std::string path = SocketPath(CompanionSocketName(static_cast<std::uint64_t>(winId())));
  if (path.empty()) return false;
  if (QString::fromStdString(path) == previous && server_.isListening()) return true;
  server_.close();
  if (!previous.isEmpty()) QLocalServer::removeServer(previous);
  socketFile_ = QString::fromStdString(path);
  QLocalServer::removeServer(socketFile_);
  // Bound straight at its path under a mask that leaves only the user's read and write, so that it never
  // stands there with other rights. (With an access option, Qt binds elsewhere with mode 0700 and moves
  // the socket into place before the chmod below could narrow it.)
  const mode_t mask = umask(0177);
  const bool listening = server_.listen(socketFile_);
  umask(mask);
  if (!listening) {
    Log(QStringLiteral("cannot listen on %1: %2").arg(socketFile_, server_.errorString()));
    return false;
  }
  chmod(path.c_str(), 0600);
  // A caller without a window system to find this window by learns the socket from the window it named.
  SendToScrivano(MessageKind::kReady,
                 QByteArray::fromStdString(CompanionSocketName(static_cast<std::uint64_t>(winId()))));
  return true;
}

void CCompanionWindow::OnConnection() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    ucred credentials{};
    socklen_t length = sizeof credentials;
    if (getsockopt(static_cast<int>(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials,
                   &length) != 0 ||
        credentials.uid != getuid()) {
      Log(QStringLiteral("refused a connection from another user"));
      socket->abort();
      socket->deleteLater();
      continue;
    }
    auto* reader = new FrameReader;
    connect(socket, &QObject::destroyed, socket, [reader] { delete reader; });
    socket->setProperty("reader", QVariant::fromValue(static_cast<void*>(reader)));
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadable(socket); });
  }
}

void CCompanionWindow::OnReadable(QLocalSocket* socket) {
  auto* reader = static_cast<FrameReader*>(socket->property("reader").value<void*>());
  const QByteArray bytes = socket->readAll();
  reader->Feed(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
  Message message;
  FrameReader::Status status;
  while ((status = reader->Next(message)) == FrameReader::Status::kMessage) Answer(socket, message);
  if (status == FrameReader::Status::kMalformed) {
    Log(QStringLiteral("refused a malformed message: %1").arg(QString::fromStdString(reader->error())));
    socket->abort();
  }
}

void CCompanionWindow::Reply(QPointer<QLocalSocket> socket, MessageKind kind, std::uint32_t requestId,
                             const QString& payload) {
  if (!socket || socket->state() != QLocalSocket::ConnectedState) return;
  QByteArray utf8 = payload.toUtf8();
  if (static_cast<size_t>(utf8.size()) > kMaxPayload) utf8.truncate(static_cast<qsizetype>(kMaxPayload));
  const std::string frame = EncodeMessage(Message{kind, requestId, utf8.toStdString()});
  socket->write(frame.data(), static_cast<qint64>(frame.size()));
  socket->flush();
}

void CCompanionWindow::Answer(QLocalSocket* socket, const Message& request) {
  QPointer<QLocalSocket> guarded(socket);
  const QString payload = QString::fromStdString(request.payload);
  switch (request.kind) {
    case MessageKind::kAddressList:
      StartExtraction(payload);
      Reply(guarded, MessageKind::kDone, request.requestId, QString());
      return;
    case MessageKind::kGetAddress:
      Reply(guarded, MessageKind::kAddress, request.requestId, view_->url().toString());
      return;
    case MessageKind::kSetAddress:
      view_->setUrl(QUrl(payload));
      Reply(guarded, MessageKind::kDone, request.requestId, QString());
      return;
    case MessageKind::kGetBodyText:
      // A page that is still loading has no body for a moment: that reads as an empty text, not as a
      // failure, so that a reader waiting for the page's text simply reads again.
      view_->page()->runJavaScript(
          QStringLiteral("document.body ? document.body.innerText : ''"), QWebEngineScript::ApplicationWorld,
          [guarded, id = request.requestId](const QVariant& result) {
            if (result.typeId() != QMetaType::QString)
              Reply(guarded, MessageKind::kError, id, QStringLiteral("the page's text cannot be read"));
            else
              Reply(guarded, MessageKind::kBodyText, id, result.toString());
          });
      return;
    case MessageKind::kGetWindowState:
      Reply(guarded, MessageKind::kWindowState, request.requestId,
            !isVisible()    ? QStringLiteral("hidden")
            : isMinimized() ? QStringLiteral("minimized")
                            : QStringLiteral("normal"));
      return;
    case MessageKind::kHide:
      hide();
      Reply(guarded, MessageKind::kDone, request.requestId, QString());
      return;
    default:
      Log(QStringLiteral("refused a message of kind %1").arg(static_cast<int>(request.kind)));
      if (socket) socket->abort();
  }
}

void CCompanionWindow::StartExtraction(const QString& addressList) {
  if (extracting_) {
    queuedLists_ << addressList;
    return;
  }
  extracting_ = true;
  headerLines_.clear();
  pageTexts_.clear();
  pending_.clear();
  for (const QString& line : addressList.split(QLatin1Char('\n'))) {
    const QString address = line.trimmed();
    if (!address.isEmpty()) pending_ << address;
  }
  // Pictures, fonts, media and frames stay out while pages are read.
  // A page that fails shows no error page of the engine's, which would read as its text.
  interceptor_->on = true;
  view_->page()->settings()->setAttribute(QWebEngineSettings::AutoLoadImages, false);
  view_->page()->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  LoadNextAddress();
}

void CCompanionWindow::LoadNextAddress() {
  if (pending_.isEmpty()) {
    FinishExtraction();
    return;
  }
  currentAddress_ = pending_.takeFirst();
  ++pageSerial_;
  pageClock_.start();
  parsedClock_.invalidate();
  pageDone_ = false;
  loaded_ = false;
  const QUrl url = QUrl::fromUserInput(currentAddress_);
  if (!url.isValid()) {
    PageEnded(false, QStringLiteral("not a web address"));
    return;
  }
  // The pages before leave no history behind (nor the memory it would hold).
  view_->history()->clear();
  pageTimer_.start(kPageTimeoutMs);
  requestedAt_ = static_cast<double>(QDateTime::currentMSecsSinceEpoch());
  view_->setUrl(url);
  QTimer::singleShot(kPollMs, this, [this, serial = pageSerial_] { Poll(serial); });
}

void CCompanionWindow::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (!extracting_ || pageDone_) return;
  // The engine may call the page loaded before the document says so (what its frames and late scripts
  // still fetch): either will do.
  if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) loaded_ = true;
  if (info.status() != QWebEngineLoadingInfo::LoadFailedStatus) return;
  QString reason = info.errorString();
  if (reason.isEmpty()) reason = QStringLiteral("error %1").arg(info.errorCode());
  PageEnded(false, reason);
}

void CCompanionWindow::Poll(int serial) {
  // The page's document (not the one before it: that began before the address was asked for), how far
  // it is, and how long it has stayed unchanged.
  view_->page()->runJavaScript(
      QStringLiteral(
          "[document.readyState, performance.timeOrigin, window.scrivanoChanged === undefined ? -1 "
          ": performance.now() - window.scrivanoChanged]"),
      QWebEngineScript::ApplicationWorld, [this, serial](const QVariant& value) {
        if (serial != pageSerial_ || pageDone_ || !extracting_) return;
        const QVariantList state = value.toList();
        const bool ours = state.size() == 3 && state[1].toDouble() >= requestedAt_ - 20;
        const QString readyState = ours ? state[0].toString() : QString();
        // A document that keeps arriving without end is read as far as it came.
        if (ours && readyState == QStringLiteral("loading") && pageClock_.elapsed() >= kStalledMs) {
          PageEnded(true, QString());
          return;
        }
        if (ours && readyState != QStringLiteral("loading")) {
          if (!parsedClock_.isValid()) parsedClock_.start();
          const qint64 waited = parsedClock_.elapsed();
          const bool quiet = state[2].toDouble() >= kQuietMs;
          if ((quiet && (readyState == QStringLiteral("complete") || loaded_ || waited >= kLoadGraceMs)) ||
              waited >= kSettleMs) {
            PageEnded(true, QString());
            return;
          }
        }
        QTimer::singleShot(kPollMs, this, [this, serial] { Poll(serial); });
      });
}

void CCompanionWindow::PageEnded(bool ok, const QString& failure) {
  if (pageDone_) return;
  pageDone_ = true;
  pageTimer_.stop();
  if (!ok) {
    PageRead(QString(), QString(), failure);
    return;
  }
  // What is still loading is not waited for.
  view_->stop();
  ReadPage();
}

void CCompanionWindow::ReadPage() {
  view_->page()->runJavaScript(
      extractScript_, QWebEngineScript::ApplicationWorld,
      [this, serial = pageSerial_](const QVariant& value) {
        if (serial != pageSerial_ || !extracting_) return;
        const QVariantMap result = value.toMap();
        if (result.isEmpty()) {
          PageRead(QString(), QString(), QStringLiteral("the page's text cannot be read"));
          return;
        }
        PageRead(result.value(QStringLiteral("title")).toString().simplified(),
                 CrLfLines(result.value(QStringLiteral("text")).toString()), QString());
      });
}

void CCompanionWindow::PageRead(const QString& title, const QString& text, const QString& failure) {
  const QString address = currentAddress_;
  PageReport report{address.toStdString(), static_cast<long>(pageClock_.elapsed()), -1, {}};
  if (!failure.isEmpty()) {
    headerLines_ +=
        address + QStringLiteral("\tCould not load the page: ") + failure + QStringLiteral("\r\n");
    report.failure = failure.toStdString();
  } else {
    headerLines_ += address + QStringLiteral("\t") + title + QStringLiteral("\r\n");
    if (!pageTexts_.isEmpty()) pageTexts_ += QStringLiteral("\r\n");
    pageTexts_ += title + QStringLiteral("\r\n\r\n") + text;
    report.characters = static_cast<long>(text.size());
  }
  const QByteArray utf8 = QString::fromStdString(EncodePageReport(report)).toUtf8();
  SendToScrivano(MessageKind::kPageDone, utf8);
  QTimer::singleShot(0, this, [this] { LoadNextAddress(); });
}

bool CCompanionWindow::SendToScrivano(MessageKind kind, const QByteArray& utf8) {
  if (!replyWindow_) return false;
  QLocalSocket socket;
  socket.connectToServer(QString::fromStdString(SocketPath(ScrivanoSocketName(replyWindow_))));
  if (!socket.waitForConnected(3000)) {
    Log(QStringLiteral("cannot reach Scrivano's window %1: %2").arg(replyWindow_).arg(socket.errorString()));
    return false;
  }
  // The extracted text, when it is longer than one frame, goes in pieces on the one connection, the last
  // of them as kCopyData; nothing else is that long.
  std::vector<std::string_view> pieces =
      SplitUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())), kMaxPayload);
  if (kind != MessageKind::kCopyData) pieces.resize(1);
  for (size_t i = 0; i < pieces.size(); ++i) {
    const MessageKind pieceKind = i + 1 < pieces.size() ? MessageKind::kCopyDataPart : kind;
    const std::string frame = EncodeMessage(Message{pieceKind, 0, std::string(pieces[i])});
    socket.write(frame.data(), static_cast<qint64>(frame.size()));
    while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(3000)) {
    }
  }
  const bool written = socket.bytesToWrite() == 0;
  socket.disconnectFromServer();
  return written;
}

void CCompanionWindow::FinishExtraction() {
  const QString reply =
      headerLines_ + QString::fromLatin1(kSeparatorLine) + QStringLiteral("\r\n") + pageTexts_;
  extracting_ = false;
  headerLines_.clear();
  pageTexts_.clear();
  interceptor_->on = false;
  view_->page()->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, true);
  ApplyMediaSettings();
  // Back to an empty page: the last one's scripts and memory go.
  view_->setUrl(QUrl(QStringLiteral("about:blank")));
  SendToScrivano(MessageKind::kCopyData, reply.toUtf8());
  if (!queuedLists_.isEmpty()) StartExtraction(queuedLists_.takeFirst());
}

void CCompanionWindow::ApplyMediaSettings() {
  // The three media values that Scrivano switches off while it extracts pages.
  const IniFile settings = IniFile::Load(settingsFile_.toStdU16String());
  const auto on = [&](const char* key) {
    const std::string name(key);
    return settings.Value(u"Main", Text(name.begin(), name.end())) != u"no";
  };
  QWebEngineSettings* web = view_->page()->settings();
  web->setAttribute(QWebEngineSettings::AutoLoadImages, on("Display Inline Images"));
  web->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, !on("Play_Background_Sounds"));
  web->setAttribute(QWebEngineSettings::ShowScrollBars, true);
  animationsOn_ = on("Play_Animations");
  QWebEngineScriptCollection& scripts = view_->page()->scripts();
  for (const QWebEngineScript& script : scripts.find(QStringLiteral("no-animations"))) scripts.remove(script);
  if (!animationsOn_) {
    QWebEngineScript still;
    still.setName(QStringLiteral("no-animations"));
    still.setSourceCode(QStringLiteral(
        "(function(){var s=document.createElement('style');"
        "s.textContent='*,*::before,*::after{animation:none!important;transition:none!important}';"
        "(document.head||document.documentElement).appendChild(s);})();"));
    still.setInjectionPoint(QWebEngineScript::DocumentReady);
    still.setWorldId(QWebEngineScript::ApplicationWorld);
    scripts.insert(still);
  }
}

}  // namespace scrivano::companion
