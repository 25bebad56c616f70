#include "app/SingleInstance.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalSocket>
#include <optional>

#include "web/CompanionProtocol.h"

namespace scrivano {
namespace {

// The message: the magic, then each path, every item ended by a zero byte, and an empty item at the end.
// The answer is the magic back once the paths were taken.
constexpr char kMagic[] = "scrivano-open-files-1";

QByteArray Message(const QStringList& files) {
  QByteArray message(kMagic);
  message.append('\0');
  for (const QString& file : files) message.append(file.toUtf8()).append('\0');
  message.append('\0');
  return message;
}

// The paths of a complete message; nullopt while it is incomplete, an empty magic when it is malformed.
std::optional<QStringList> ParseMessage(const QByteArray& bytes, bool& malformed) {
  const QList<QByteArray> items = bytes.split('\0');
  malformed = !items.isEmpty() && !QByteArray(kMagic).startsWith(items.front().left(sizeof kMagic - 1));
  if (malformed || items.size() < 3 || items.front() != kMagic) return std::nullopt;
  QStringList files;
  // split gives an empty last item after the final zero byte: the end mark is the empty item before it.
  for (qsizetype i = 1; i + 1 < items.size(); ++i) {
    if (items[i].isEmpty()) return files;
    files << QString::fromUtf8(items[i]);
  }
  return std::nullopt;
}

// Held while a start looks for the Data folder's program and, finding none, begins to listen: two starts
// at the same moment cannot both become the first.
class StartLock {
 public:
  explicit StartLock(const QString& socketPath) {
    fd_ = ::open((socketPath + QStringLiteral(".lock")).toLocal8Bit().constData(),
                 O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ >= 0) ::flock(fd_, LOCK_EX);
  }
  ~StartLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  StartLock(const StartLock&) = delete;
  StartLock& operator=(const StartLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace

QString SingleInstance::SocketPath(const QString& dataFolder) {
  QString canonical = QFileInfo(dataFolder).canonicalFilePath();
  if (canonical.isEmpty()) canonical = QDir::cleanPath(QDir(dataFolder).absolutePath());
  const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha256).toHex();
  const std::string path = companion::SocketPath("scrivano-data-" + hash.left(24).toStdString());
  return QString::fromStdString(path);
}

SingleInstance::Claim SingleInstance::ClaimDataFolder(const QString& dataFolder, const QStringList& files,
                                                      int answerMilliseconds) {
  const QString path = SocketPath(dataFolder);
  if (path.isEmpty()) {
    error_ = QStringLiteral("no private runtime folder for the socket");
    return Claim::kFirst;
  }
  StartLock lock(path);
  QLocalSocket peer;
  peer.connectToServer(path);
  if (peer.waitForConnected(2000)) {
    peer.write(Message(files));
    peer.flush();
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (answer.size() < qsizetype(sizeof kMagic - 1) && clock.elapsed() < answerMilliseconds &&
           peer.state() == QLocalSocket::ConnectedState) {
      if (peer.waitForReadyRead(100)) answer += peer.readAll();
    }
    answer += peer.readAll();
    return answer.startsWith(kMagic) ? Claim::kHandedOver : Claim::kNoAnswer;
  }
  // Nobody listens: a socket file left there by a program that ended without removing it goes.
  QLocalServer::removeServer(path);
  if (!server_.listen(path)) {
    error_ = server_.errorString();
    return Claim::kFirst;
  }
  ::chmod(path.toLocal8Bit().constData(), 0600);
  return Claim::kFirst;
}

void SingleInstance::Serve(std::function<void(const QStringList&)> onFiles) {
  onFiles_ = std::move(onFiles);
  connect(&server_, &QLocalServer::newConnection, this, [this] { Accept(); });
  Accept();
}

void SingleInstance::Accept() {
  while (QLocalSocket* peer = server_.nextPendingConnection()) {
    connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
    connect(peer, &QLocalSocket::readyRead, this, [this, peer] {
      bool malformed = false;
      const QByteArray bytes = peer->peek(1 << 20);
      const std::optional<QStringList> files = ParseMessage(bytes, malformed);
      if (malformed || (!files && bytes.size() >= (1 << 20))) {
        peer->abort();
        return;
      }
      if (!files) return;
      peer->readAll();
      peer->write(kMagic);
      peer->flush();
      peer->disconnectFromServer();
      if (onFiles_) onFiles_(*files);
    });
  }
}

QStringList FileArguments(const QStringList& arguments) {
  QStringList files;
  bool optionsEnded = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (!optionsEnded && argument == QStringLiteral("--")) {
      optionsEnded = true;
      continue;
    }
    if (!optionsEnded && argument.startsWith(u'-')) continue;
    files << QDir::current().absoluteFilePath(argument);
  }
  return files;
}

}  // namespace scrivano
