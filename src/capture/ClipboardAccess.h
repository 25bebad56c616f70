// The system clipboard's text, as the desktop application holds it. The application owns and reads the
// clipboard on its user-interface thread; a task reaches it here and waits while that thread does it.
#pragma once

#include "text/Text.h"

namespace scrivano {

class ClipboardAccess {
 public:
  virtual ~ClipboardAccess() = default;
  // False when the clipboard offers no text or cannot be reached; out is then unchanged.
  virtual bool ReadText(Text& out) = 0;
  // Replaces the clipboard's content with the text. False when the clipboard cannot be reached.
  virtual bool WriteText(TextView text) = 0;
  // True once another program has put something on the clipboard since the last WriteText: the moment a
  // copy made in another program arrives, whatever it holds. A clipboard that cannot tell says false.
  virtual bool TakenSinceWrite() { return false; }
};

}  // namespace scrivano
