// One Scrivano per Data folder. The first start listens on a local socket named after the canonical Data
// folder (in the user's runtime folder, mode 0600); a later start on the same folder hands the files named
// on its command line to it and ends, and the first opens them and comes to the front. A socket left by a
// program that crashed answers nobody: it is replaced.
#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace scrivano {

class SingleInstance : public QObject {
 public:
  enum class Claim {
    kFirst,       // this program serves the Data folder
    kHandedOver,  // another one does and took the files
    kNoAnswer,    // another one holds the socket but did not take the files in time
  };

  // The socket's path for a Data folder; empty when there is no safe runtime folder.
  static QString SocketPath(const QString& dataFolder);

  // Becomes the Data folder's program, or hands files (absolute paths) to the one that is.
  Claim ClaimDataFolder(const QString& dataFolder, const QStringList& files, int answerMilliseconds = 10000);
  // From now on files handed over reach onFiles (on the user-interface thread), those that came
  // meanwhile included.
  void Serve(std::function<void(const QStringList&)> onFiles);
  // Stops listening (the program is ending).
  void Close() { server_.close(); }
  const QString& Error() const { return error_; }

 private:
  void Accept();

  QLocalServer server_;
  std::function<void(const QStringList&)> onFiles_;
  QString error_;
};

// The program's own file arguments (options left out), made absolute from the current folder.
QStringList FileArguments(const QStringList& arguments);

}  // namespace scrivano
