#pragma once

#include <QMetaObject>
#include <QObject>
#include <QThread>
#include <exception>
#include <optional>
#include <type_traits>
#include <utility>

namespace athup::gui {

// Runs `work` on the thread of `receiver` and waits for it: directly when already there, else as
// a blocking queued call, so a flow on a worker thread can open dialogs. An exception thrown by
// `work` reaches the caller. The receiver's thread must not be waiting for the caller.
template <typename Work>
auto callOnThreadOf(QObject* receiver, Work&& work) -> decltype(work()) {
  using Result = decltype(work());
  if (QThread::currentThread() == receiver->thread()) return work();
  std::exception_ptr failure;
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(
        receiver,
        [&] {
          try {
            work();
          } catch (...) {
            failure = std::current_exception();
          }
        },
        Qt::BlockingQueuedConnection);
    if (failure) std::rethrow_exception(failure);
  } else {
    std::optional<Result> result;
    QMetaObject::invokeMethod(
        receiver,
        [&] {
          try {
            result.emplace(work());
          } catch (...) {
            failure = std::current_exception();
          }
        },
        Qt::BlockingQueuedConnection);
    if (failure) std::rethrow_exception(failure);
    return std::move(*result);
  }
}

}  // namespace athup::gui
