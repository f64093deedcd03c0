#include <QApplication>

#include "ui/qt/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  zeduzovir::Form1 window;
  window.show();
  return QApplication::exec();
}
