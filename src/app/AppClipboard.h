// The X CLIPBOARD selection through QClipboard, owned and read on the user-interface thread. A task that
// reads or writes it waits while that thread does the work; line breaks become "\n" on the clipboard and
// "\r\n" in the program.
#pragma once

#include "capture/ClipboardAccess.h"

namespace scrivano {

class AppClipboard : public ClipboardAccess {
 public:
  bool ReadText(Text& out) override;
  bool WriteText(TextView text) override;
};

}  // namespace scrivano
