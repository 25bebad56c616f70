// Calls into the user-interface thread. Qt widgets live on that thread only; a Function List task that
// reads a window, sets a caption or asks a question waits here while the user-interface thread does it.
// The user-interface thread itself never waits for a task.
#pragma once

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>
#include <type_traits>

namespace scrivano {

bool OnUiThread();
// Once set (at shut-down), calls from other threads return a default value instead of waiting.
void SetUiClosing(bool closing);
bool UiClosing();

// Runs call on the user-interface thread and returns its result; at once when already there.
template <typename Call>
auto RunOnUiThread(Call call) -> std::invoke_result_t<Call> {
  using Result = std::invoke_result_t<Call>;
  if (OnUiThread()) return call();
  if constexpr (std::is_void_v<Result>) {
    if (UiClosing()) return;
    QMetaObject::invokeMethod(QCoreApplication::instance(), call, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    if (UiClosing()) return result;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [&] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

}  // namespace scrivano
