// The X CLIPBOARD selection through QClipboard, owned and read on the user-interface thread. A task that
// reads or writes it waits while that thread does the work; line breaks become "\n" on the clipboard and
// "\r\n" in the program.
#pragma once

#include <QMetaObject>
#include <atomic>

#include "capture/ClipboardAccess.h"

namespace scrivano {

class AppClipboard : public ClipboardAccess {
 public:
  // On the user-interface thread, with the application made.
  AppClipboard();
  ~AppClipboard() override;
  AppClipboard(const AppClipboard&) = delete;
  AppClipboard& operator=(const AppClipboard&) = delete;

  bool ReadText(Text& out) override;
  bool WriteText(TextView text) override;
  // Learnt from the clipboard's change signal, which the window system gives when another program takes
  // the clipboard over.
  bool TakenSinceWrite() override { return taken_.load(); }

 private:
  QMetaObject::Connection changed_;
  bool writing_ = false;  // user-interface thread only
  std::atomic<bool> taken_{false};
};

}  // namespace scrivano
