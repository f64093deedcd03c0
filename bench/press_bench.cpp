// The whole restore press in the real window: from a mouse click on the restore button to the
// message box being shown, on Qt's offscreen platform.
//   press_bench [PRESSES]

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "ui/qt/form1.h"

namespace {

// Notes when a message box is first shown, and closes it once it is up.
class MessageBoxWatcher : public QObject {
 public:
  explicit MessageBoxWatcher(const QElapsedTimer& clock) : m_clock(clock) {}
  qint64 shownAt() const { return m_shownAt; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched) != nullptr) {
      m_shownAt = m_clock.nsecsElapsed();
      auto* box = static_cast<QMessageBox*>(watched);
      QTimer::singleShot(0, box, [box] { box->accept(); });
    }
    return false;
  }

 private:
  const QElapsedTimer& m_clock;
  qint64 m_shownAt = -1;
};

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  const int presses = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  zeduzovir::Form1 window;
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "press_bench: the window never showed\n");
    return 1;
  }
  auto* text1 = window.findChild<QLineEdit*>("Text1");
  auto* restore = window.findChild<QAbstractButton*>("TesgardButton2");

  QElapsedTimer clock;
  MessageBoxWatcher watcher(clock);
  app.installEventFilter(&watcher);
  std::vector<double> millis;
  for (int i = 0; i < presses; ++i) {
    text1->setText(QStringLiteral("C:\\data\\holiday\\photo%1.jpgxaBrint").arg(i));
    clock.start();
    QTest::mouseClick(restore, Qt::LeftButton);
    millis.push_back(static_cast<double>(watcher.shownAt()) / 1e6);
  }
  std::sort(millis.begin(), millis.end());
  std::printf("press_median_ms=%.3f\npress_p95_ms=%.3f\npresses=%d\n", millis[millis.size() / 2],
              millis[millis.size() * 95 / 100], presses);
  return 0;
}
