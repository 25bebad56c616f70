#include "app/UiThread.h"

#include <atomic>


namespace scrivano {
namespace {

std::atomic<bool> uiClosing{false};

}  // namespace

bool OnUiThread() {
  const QCoreApplication* application = QCoreApplication::instance();
  return !application || QThread::currentThread() == application->thread();
}

void SetUiClosing(bool closing) {
  uiClosing.store(closing);
}

bool UiClosing() {
  return uiClosing.load();
}

}  // namespace scrivano
