#include <QApplication>

#include "ui/qt/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationVersion(QStringLiteral(ZEDUZOVIR_VERSION_TEXT));
  // Lets the desktop match the window to its menu entry and icon.
  QGuiApplication::setDesktopFileName(QStringLiteral(ZEDUZOVIR_APP_ID));
  zeduzovir::Form1 window;
  window.show();
  return QApplication::exec();
}
