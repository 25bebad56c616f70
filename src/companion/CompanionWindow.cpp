#include "companion/CompanionWindow.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QLocalSocket>
#include <QVBoxLayout>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <cstdio>

#include "settings/IniFile.h"

namespace scrivano::companion {
namespace {

// Longest time one page may take to load before its address is reported as timed out.
constexpr int kPageTimeoutMs = 30000;
constexpr char kSeparatorLine[] = "=====";

// Runs in the page's application world, where Readability was injected: the article's text when the
// page reads as an article, otherwise the body's inner text.
constexpr char kExtractScript[] = R"JS(
(function () {
  var result = { title: document.title || "", text: "", article: false };
  try {
    if (typeof isProbablyReaderable === "function" && isProbablyReaderable(document)) {
      var article = new Readability(document.cloneNode(true)).parse();
      if (article && article.textContent && article.textContent.trim()) {
        result.article = true;
        if (article.title) result.title = article.title;
        // One line per block of the article (a paragraph, heading, item, cell), its white space
        // collapsed as a browser shows it.
        var content = document.createElement("div");
        content.innerHTML = article.content;
        var blocks = "p,h1,h2,h3,h4,h5,h6,li,pre,blockquote,td,th,dt,dd,figcaption";
        var lines = [];
        content.querySelectorAll(blocks).forEach(function (block) {
          if (block.querySelector(blocks)) return;
          var line = block.textContent.replace(/\s+/g, " ").trim();
          if (line) lines.push(line);
        });
        result.text = lines.length ? lines.join("\n") : article.textContent;
      }
    }
  } catch (e) {}
  if (!result.article) result.text = document.body ? document.body.innerText : "";
  return result;
})();
)JS";

QString ReadResource(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// One line per paragraph: spaces inside lines collapsed, blank lines dropped, lines ended by "\r\n".
QString CleanText(const QString& text) {
  QString out;
  for (QString line : text.split(QLatin1Char('\n'))) {
    line = line.simplified();
    if (!line.isEmpty()) out += line + QStringLiteral("\r\n");
  }
  return out;
}

void Log(const QString& line) {
  std::fprintf(stderr, "vexo1: %s\n", line.toLocal8Bit().constData());
}

}  // namespace

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

  // Readability and its article test, in a world of their own that the page's scripts cannot reach.
  QWebEngineScript readability;
  readability.setName(QStringLiteral("readability"));
  readability.setSourceCode(ReadResource(QStringLiteral(":/readability/Readability.js")) +
                            QStringLiteral("\n") +
                            ReadResource(QStringLiteral(":/readability/Readability-readerable.js")));
  readability.setInjectionPoint(QWebEngineScript::DocumentReady);
  readability.setWorldId(QWebEngineScript::ApplicationWorld);
  readability.setRunsOnSubFrames(false);
  view_->page()->scripts().insert(readability);

  connect(addressLine_, &QLineEdit::returnPressed, this,
          [this] { view_->setUrl(QUrl::fromUserInput(addressLine_->text())); });
  connect(view_, &QWebEngineView::urlChanged, this,
          [this](const QUrl& url) { addressLine_->setText(url.toString()); });
  connect(view_->page(), &QWebEnginePage::loadingChanged, this, &CCompanionWindow::OnLoadingChanged);
  pageTimer_.setSingleShot(true);
  connect(&pageTimer_, &QTimer::timeout, this, [this] {
    view_->stop();
    PageEnded(false, QStringLiteral("the page did not load within %1 seconds").arg(kPageTimeoutMs / 1000));
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
  LoadNextAddress();
}

void CCompanionWindow::LoadNextAddress() {
  if (pending_.isEmpty()) {
    FinishExtraction();
    return;
  }
  currentAddress_ = pending_.takeFirst();
  const QUrl url = QUrl::fromUserInput(currentAddress_);
  if (!url.isValid()) {
    PageEnded(false, QStringLiteral("not a web address"));
    return;
  }
  ApplyMediaSettings();
  pageDone_ = false;
  pageTimer_.start(kPageTimeoutMs);
  view_->setUrl(url);
}

void CCompanionWindow::OnLoadingChanged(const QWebEngineLoadingInfo& info) {
  if (!extracting_ || pageDone_) return;
  if (info.status() == QWebEngineLoadingInfo::LoadSucceededStatus) {
    PageEnded(true, QString());
  } else if (info.status() == QWebEngineLoadingInfo::LoadFailedStatus) {
    QString reason = info.errorString();
    if (reason.isEmpty()) reason = QStringLiteral("error %1").arg(info.errorCode());
    PageEnded(false, reason);
  }
}

void CCompanionWindow::PageEnded(bool ok, const QString& failure) {
  if (pageDone_ && extracting_ && ok) return;
  pageDone_ = true;
  pageTimer_.stop();
  const QString address = currentAddress_;
  if (!ok) {
    headerLines_ +=
        address + QStringLiteral("\tCould not load the page: ") + failure + QStringLiteral("\r\n");
    QTimer::singleShot(0, this, [this] { LoadNextAddress(); });
    return;
  }
  view_->page()->runJavaScript(
      QString::fromLatin1(kExtractScript), QWebEngineScript::ApplicationWorld,
      [this, address](const QVariant& value) {
        const QVariantMap result = value.toMap();
        const QString title = result.value(QStringLiteral("title")).toString().simplified();
        const QString text = CleanText(result.value(QStringLiteral("text")).toString());
        headerLines_ += address + QStringLiteral("\t") + title + QStringLiteral("\r\n");
        if (!pageTexts_.isEmpty()) pageTexts_ += QStringLiteral("\r\n");
        pageTexts_ += title + QStringLiteral("\r\n\r\n") + text;
        LoadNextAddress();
      });
}

void CCompanionWindow::FinishExtraction() {
  const QString reply =
      headerLines_ + QString::fromLatin1(kSeparatorLine) + QStringLiteral("\r\n") + pageTexts_;
  extracting_ = false;
  if (replyWindow_) {
    QLocalSocket socket;
    socket.connectToServer(QString::fromStdString(SocketPath(ScrivanoSocketName(replyWindow_))));
    if (socket.waitForConnected(3000)) {
      QByteArray utf8 = reply.toUtf8();
      if (static_cast<size_t>(utf8.size()) > kMaxPayload) utf8.truncate(static_cast<qsizetype>(kMaxPayload));
      const std::string frame = EncodeMessage(Message{MessageKind::kCopyData, 0, utf8.toStdString()});
      socket.write(frame.data(), static_cast<qint64>(frame.size()));
      while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(3000)) {
      }
      socket.disconnectFromServer();
    } else {
      Log(QStringLiteral("cannot reach Scrivano's window %1: %2")
              .arg(replyWindow_)
              .arg(socket.errorString()));
    }
  }
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
