#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace zeduzovir::testing {

// Acts on the next modal dialog of type T as soon as it is shown. Arm it before the action that
// opens the dialog; afterwards ran() says whether the dialog appeared, so a dialog that never
// came fails the test instead of passing silently. A dialog the action leaves open is rejected,
// so a failing test cannot hang on it.
template <typename T>
class ModalHandler {
 public:
  explicit ModalHandler(std::function<void(T*)> act) : m_act(std::move(act)) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { poll(); });
    m_timer.start(10);
  }

  bool ran() const { return m_ran; }

 private:
  void poll() {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
      return;
    }
    m_timer.stop();
    m_ran = true;
    m_act(dialog);
    if (dialog->isVisible()) {
      dialog->reject();
    }
  }

  std::function<void(T*)> m_act;
  QTimer m_timer;
  bool m_ran = false;
};

}  // namespace zeduzovir::testing
