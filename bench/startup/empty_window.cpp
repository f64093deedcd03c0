// What any Qt window of this size costs: an empty one.

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Zeduzovir");
  window.setFixedSize(371, 286);
  window.show();
  return QApplication::exec();
}
