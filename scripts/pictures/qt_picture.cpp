// Shows the Qt window as the program does, with a path in row 1, and writes what it shows:
// picture.ppm, its client area as drawn, and picture.txt, what it reports of each control.

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextStream>

#include "ui/form1_layout.h"
#include "ui/qt/form1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  zeduzovir::Form1 form;
  form.SetText(zeduzovir::ControlId::Text1, u"/home/ana/photo.jpgxaBrint");
  form.show();
  if (!QTest::qWaitForWindowExposed(&form)) {
    return 1;
  }
  QFile manifest("picture.txt");
  if (!manifest.open(QIODevice::WriteOnly) ||
      !form.grab().toImage().convertToFormat(QImage::Format_RGB888).save("picture.ppm")) {
    return 1;
  }
  QTextStream out(&manifest);
  out << "Form1 0,0," << form.width() << "," << form.height() << " " << form.windowTitle() << "\n";
  for (const zeduzovir::ControlSpec& layout : zeduzovir::Form1Controls()) {
    const QWidget* control = form.findChild<QWidget*>(QString::fromUtf8(layout.name));
    const QRect r = control->geometry();
    const QFont font = control->font();
    out << control->objectName() << " " << r.x() << "," << r.y() << "," << r.width() << ","
        << r.height() << " ";
    // The window's own font is the platform's, which differs between machines.
    if (font == form.font())
      out << "default";
    else
      out << font.family() << "," << font.pointSizeF() << "," << font.weight();
    out << " " << control->property("text").toString() << "\n";
  }
  return out.status() == QTextStream::Ok ? 0 : 1;
}
