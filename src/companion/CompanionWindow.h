// The companion's main window: an address line over a page view. It serves its socket (named after the
// window's id): page access for Scrivano (read and set the address, read the body's inner text, the
// window's state, hide), and address lists whose pages it loads one by one and whose text it sends back
// to the socket of the Scrivano window named on its command line.
#pragma once

#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocalServer>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "web/CompanionProtocol.h"

class QByteArray;
class QLocalSocket;
class QWebEngineView;
class QWebEngineLoadingInfo;

namespace scrivano::companion {

class TextOnlyInterceptor;

class CCompanionWindow : public QMainWindow {
 public:
  // replyWindow: the Scrivano window whose socket receives extracted text (0: none).
  CCompanionWindow(std::uint64_t replyWindow, QString settingsFile);

  // Runs ready once the page view has shown its first (empty) page.
  void WhenPageViewReady(std::function<void()> ready);
  // Listens on the socket named after the window's id; call once the window exists.
  bool StartServing();
  QString SocketFile() const { return socketFile_; }

 protected:
  bool event(QEvent* event) override;
  // Closing the window ends the program, also when the window was hidden (a hidden window's close
  // alone would leave the program running without a window).
  void closeEvent(QCloseEvent* event) override;

 private:
  void OnConnection();
  void OnReadable(QLocalSocket* socket);
  void Answer(QLocalSocket* socket, const Message& request);
  static void Reply(QPointer<QLocalSocket> socket, MessageKind kind, std::uint32_t requestId,
                    const QString& payload);

  // Page extraction.
  void StartExtraction(const QString& addressList);
  void LoadNextAddress();
  void OnLoadingChanged(const QWebEngineLoadingInfo& info);
  void PageEnded(bool ok, const QString& failure);
  void Poll(int serial);
  void ReadPage();
  void PageRead(const QString& title, const QString& text, const QString& failure);
  void FinishExtraction();
  // A message to the socket of the Scrivano window named at the start; false when none was named or it
  // could not be reached.
  bool SendToScrivano(MessageKind kind, const QByteArray& utf8);
  void ApplyMediaSettings();

  std::uint64_t replyWindow_;
  QString settingsFile_;
  QLineEdit* addressLine_;
  QWebEngineView* view_;
  QLocalServer server_;
  QString socketFile_;
  bool serving_ = false;

  QStringList pending_;      // addresses still to load
  QStringList queuedLists_;  // address lists that arrived while one was being extracted
  QString currentAddress_;
  bool extracting_ = false;
  bool pageDone_ = true;
  bool loaded_ = false;  // the engine said the current page loaded
  QString headerLines_;
  QString pageTexts_;
  QTimer pageTimer_;
  QElapsedTimer pageClock_;    // since the current page was asked for
  QElapsedTimer parsedClock_;  // since its document was seen parsed
  double requestedAt_ = 0;     // when it was asked for, in milliseconds since the epoch
  int pageSerial_ = 0;         // which page the answers of the page view belong to
  QString extractScript_;
  TextOnlyInterceptor* interceptor_ = nullptr;
  bool animationsOn_ = true;
};

}  // namespace scrivano::companion
