#include "app/AppClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "app/QtText.h"
#include "app/UiThread.h"

namespace scrivano {

AppClipboard::AppClipboard() {
  changed_ = QObject::connect(QApplication::clipboard(), &QClipboard::dataChanged, [this] {
    if (!writing_) taken_ = true;
  });
}

AppClipboard::~AppClipboard() {
  QObject::disconnect(changed_);
}

bool AppClipboard::ReadText(Text& out) {
  bool read = false;
  Text text;
  RunOnUiThread([&] {
    const QMimeData* data = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText()) return;
    // Other programs may put "\r\n" on the clipboard; either way a line ends in one "\r\n".
    text = FromDisplayLines(ToDisplayLines(FromQString(data->text())));
    read = true;
  });
  if (read) out = std::move(text);
  return read;
}

bool AppClipboard::WriteText(TextView text) {
  const QString value = ToQString(ToDisplayLines(text));
  bool written = false;
  RunOnUiThread([&] {
    // The change signal of the program's own text comes within setText.
    writing_ = true;
    QApplication::clipboard()->setText(value, QClipboard::Clipboard);
    writing_ = false;
    taken_ = false;
    written = true;
  });
  return written;
}

}  // namespace scrivano
