// The floor for the main window: the same sixteen controls as stock Qt widgets, placed by hand
// with the same fonts, icon and size, and nothing else.

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace {

QFont Font(const char* face, qreal points, QFont::Weight weight) {
  QFont font(QString::fromLatin1(face));
  font.setPointSizeF(points);
  font.setWeight(weight);
  return font;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Arial"});
  QFont::insertSubstitutions("Times New Roman", {"Liberation Serif", "Times"});
  QWidget window;
  window.setWindowTitle("Zeduzovir");
  window.setWindowIcon(QIcon(":/icons/zeduzovir.ico"));
  window.setFixedSize(371, 286);

  const QFont labelFont = Font("MS Sans Serif", 9.75, QFont::Bold);
  const QFont browseFont = Font("Times New Roman", 8.25, QFont::Normal);
  const int labelTops[] = {7, 34, 61, 88, 114};
  const int boxTops[] = {5, 32, 59, 86, 113};
  const int browseTops[] = {5, 32, 60, 87, 115};
  for (int row = 0; row < 5; ++row) {
    auto* label = new QLabel(QString("File%1:").arg(row + 1), &window);
    label->setFont(labelFont);
    label->setGeometry(7, labelTops[row], 39, 16);
    auto* box = new QLineEdit(&window);
    box->setGeometry(46, boxTops[row], 213, 19);
    label->setBuddy(box);
    auto* browse = new QPushButton("Browse", &window);
    browse->setFont(browseFont);
    browse->setGeometry(row == 0 ? 264 : 265, browseTops[row], 50, 18);
  }
  auto* restore = new QPushButton("Restore xabrint File", &window);
  restore->setFont(Font("Times New Roman", 14.25, QFont::Bold));
  restore->setGeometry(46, 148, 217, 31);

  window.show();
  return QApplication::exec();
}
