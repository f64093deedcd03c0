#pragma once

#include <QTest>
#include <QWidget>

namespace zeduzovir::testing {

// Shows a top-level window and waits until it has the keyboard. With no window manager to hand
// it the focus, the window asks for it itself.
inline bool ShowAndActivate(QWidget* window) {
  window->show();
  if (!QTest::qWaitForWindowExposed(window)) {
    return false;
  }
  window->activateWindow();
  return QTest::qWaitForWindowActive(window);
}

}  // namespace zeduzovir::testing
