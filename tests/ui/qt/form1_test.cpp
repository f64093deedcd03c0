#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <string>

#include "modal_handler.h"
#include "show_window.h"
#include "support/expected_form1_pixels.h"
#include "ui/qt/form1.h"

using zeduzovir::Form1;
using zeduzovir::testing::ModalHandler;

namespace {

const QString kTextBoxes[] = {"Text1", "Text2", "Text3", "Text4", "Text5"};

// Types a path into Qt's file dialog and presses its Open button, as a person would.
void ChooseFile(QFileDialog* dialog, const QString& path) {
  dialog->findChild<QLineEdit*>("fileNameEdit")->setText(path);
  auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
  QTest::mouseClick(buttons->button(QDialogButtonBox::Open), Qt::LeftButton);
}

void CancelDialog(QFileDialog* dialog) {
  auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
  QTest::mouseClick(buttons->button(QDialogButtonBox::Cancel), Qt::LeftButton);
}

struct ShownBox {
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  int buttonCount = 0;
  bool okButton = false;
};

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void windowHasCaptionIconAndFixedClientSize();
  void controlGeometry_data();
  void controlGeometry();
  void controlFontsAndCaptions_data();
  void controlFontsAndCaptions();
  void windowScalesWithTheScreen();
  void captionsFitTheirControls();
  void startsWithEmptyRowsAndFocusOnFirstBrowse();
  void tabKeyWalksTheTabOrder();
  void labelsNameTheirBoxes();
  void textBoxesHoldVeryLongPaths();

  void restoreShowsRestoredNameInInformationBox();
  void restoreRightAfterStartIsNothingToDecrypt();
  void restoreWithoutMarkerKeepsThePath();
  void restoreLeavesRowsTwoToFiveAlone();
  void restoreMessageShowsMarkupAsTyped();
  void restoreOfAMillionCharacterPath();
  void keyboardPressesTheFocusedButton_data();
  void keyboardPressesTheFocusedButton();

  void browseFillsOnlyItsOwnRow_data();
  void browseFillsOnlyItsOwnRow();
  void browseCancelLeavesTypedText();
  void dialogOpensWithLastChosenFileFromAnyRow();
  void chosenFileThenRestore();

 private:
  template <typename T>
  T* child(const QString& name) const {
    T* found = m_form->findChild<T*>(name);
    if (found == nullptr) {
      qFatal("no child named %s", qPrintable(name));
    }
    return found;
  }
  QString text(const QString& box) const { return child<QLineEdit>(box)->text(); }
  QString createFile(const QString& name);
  // Presses `button` and answers the message box it opens.
  ShownBox pressAndReadMessage(const QString& button);

  std::unique_ptr<Form1> m_form;
  QTemporaryDir m_files;
};

void Form1Test::initTestCase() {
  // Drive Qt's own dialog, never a desktop's native one, so the tests know what they click.
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  QVERIFY(m_files.isValid());
}

void Form1Test::init() {
  m_form = std::make_unique<Form1>();
  QVERIFY(zeduzovir::testing::ShowAndActivate(m_form.get()));
}

void Form1Test::cleanup() {
  m_form.reset();
  // Every dialog belongs to the window, so nothing may outlive it.
  QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString Form1Test::createFile(const QString& name) {
  const QString path = m_files.filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    qFatal("cannot create %s", qPrintable(path));
  }
  return path;
}

ShownBox Form1Test::pressAndReadMessage(const QString& button) {
  ShownBox shown;
  ModalHandler<QMessageBox> handler([&shown](QMessageBox* box) {
    shown = {box->windowTitle(), box->text(), box->icon(), static_cast<int>(box->buttons().size()),
             box->button(QMessageBox::Ok) != nullptr};
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  });
  QTest::mouseClick(child<QAbstractButton>(button), Qt::LeftButton);
  if (!handler.ran()) {
    qWarning("no message box appeared after pressing %s", qPrintable(button));
    shown.title = QStringLiteral("<none>");
  }
  return shown;
}

void Form1Test::windowHasCaptionIconAndFixedClientSize() {
  QCOMPARE(m_form->windowTitle(), QStringLiteral("Zeduzovir"));
  QCOMPARE(m_form->size(), QSize(zeduzovir::testing::kExpectedClientWidth,
                                 zeduzovir::testing::kExpectedClientHeight));
  QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
  const QList<QSize> iconSizes = m_form->windowIcon().availableSizes();
  for (const QSize size : {QSize(16, 16), QSize(24, 24), QSize(32, 32), QSize(48, 48)}) {
    QVERIFY2(iconSizes.contains(size), qPrintable(QString::number(size.width())));
  }
}

void Form1Test::controlGeometry_data() {
  QTest::addColumn<QRect>("pixels");
  for (const auto& [name, px] : zeduzovir::testing::kExpectedForm1Pixels) {
    QTest::newRow(std::string(name).c_str()) << QRect(px.left, px.top, px.width, px.height);
  }
}

void Form1Test::controlGeometry() {
  QFETCH(QRect, pixels);
  QWidget* control = child<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
  QCOMPARE(control->geometry(), pixels);
  QVERIFY(control->isVisible());
}

void Form1Test::controlFontsAndCaptions_data() {
  QTest::addColumn<QString>("caption");
  QTest::addColumn<QString>("family");
  QTest::addColumn<qreal>("points");
  QTest::addColumn<bool>("bold");
  QTest::addColumn<QString>("substitute");  // what Linux draws it with
  for (int row = 1; row <= 5; ++row) {
    QTest::addRow("Label%d", row) << QStringLiteral("File%1:").arg(row) << "MS Sans Serif" << 9.75
                                  << true << "Liberation Sans";
  }
  for (const char* browse :
       {"TesgardButton1", "TesgardButton4", "TesgardButton5", "TesgardButton6", "TesgardButton7"}) {
    QTest::newRow(browse) << "Browse"
                          << "Times New Roman" << 8.25 << false << "Liberation Serif";
  }
  QTest::newRow("TesgardButton2") << "Restore xabrint File"
                                  << "Times New Roman" << 14.25 << true << "Liberation Serif";
}

void Form1Test::controlFontsAndCaptions() {
  QFETCH(QString, caption);
  QFETCH(QString, family);
  QFETCH(qreal, points);
  QFETCH(bool, bold);
  QFETCH(QString, substitute);
  QWidget* control = child<QWidget>(QString::fromLatin1(QTest::currentDataTag()));
  const QString shown = qobject_cast<QLabel*>(control) != nullptr
                            ? qobject_cast<QLabel*>(control)->text()
                            : qobject_cast<QAbstractButton*>(control)->text();
  QCOMPARE(shown, caption);
  QCOMPARE(control->font().family(), family);
  QCOMPARE(control->font().pointSizeF(), points);
  QCOMPARE(control->font().weight(), bold ? QFont::Bold : QFont::Normal);
#ifdef Q_OS_LINUX
  QCOMPARE(QFontInfo(control->font()).family(), substitute);
#endif
}

void Form1Test::windowScalesWithTheScreen() {
  // Run with QT_SCALE_FACTOR set, the layout keeps its logical pixels and the picture on screen
  // grows by the factor.
  const qreal expected = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                             ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                             : 1.0;
  QCOMPARE(m_form->devicePixelRatioF(), expected);
  const QPixmap picture = m_form->grab();
  QCOMPARE(picture.size(), QSize(qRound(zeduzovir::testing::kExpectedClientWidth * expected),
                                 qRound(zeduzovir::testing::kExpectedClientHeight * expected)));
  QCOMPARE(child<QWidget>("TesgardButton2")->geometry(), QRect(46, 148, 217, 31));
}

void Form1Test::captionsFitTheirControls() {
  for (QWidget* control : m_form->findChildren<QWidget*>()) {
    QString caption;
    if (auto* label = qobject_cast<QLabel*>(control)) {
      caption = label->text();
    } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
      caption = button->text();
    } else {
      continue;
    }
    const QFontMetrics metrics(control->font());
    QVERIFY2(metrics.horizontalAdvance(caption) <= control->width(),
             qPrintable(control->objectName() + " is too narrow for its caption"));
    QVERIFY2(metrics.height() <= control->height(),
             qPrintable(control->objectName() + " is too short for its caption"));
  }
}

void Form1Test::startsWithEmptyRowsAndFocusOnFirstBrowse() {
  for (const QString& box : kTextBoxes) {
    QVERIFY2(text(box).isEmpty(), qPrintable(box));
    QVERIFY(!child<QLineEdit>(box)->isReadOnly());
    QCOMPARE(child<QLineEdit>(box)->font(), m_form->font());
  }
  QCOMPARE(QApplication::focusWidget(), child<QWidget>("TesgardButton1"));
}

void Form1Test::tabKeyWalksTheTabOrder() {
  // From the first control all the way round to it again.
  QStringList expected;
  for (const std::string_view name : zeduzovir::testing::kExpectedTabOrder) {
    expected << QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
  }
  expected.append(expected.takeFirst());
  QStringList visited;
  for (qsizetype i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    visited << QApplication::focusWidget()->objectName();
  }
  QCOMPARE(visited, expected);
}

void Form1Test::labelsNameTheirBoxes() {
  for (int row = 1; row <= 5; ++row) {
    QCOMPARE(child<QLabel>(QStringLiteral("Label%1").arg(row))->buddy(),
             child<QWidget>(QStringLiteral("Text%1").arg(row)));
  }
}

void Form1Test::textBoxesHoldVeryLongPaths() {
  const QString longPath = QStringLiteral("/data/") + QString(100000, QLatin1Char('d'));
  QLineEdit* box = child<QLineEdit>("Text3");
  box->setText(longPath);
  QCOMPARE(box->text(), longPath);
}

void Form1Test::restoreShowsRestoredNameInInformationBox() {
  QTest::keyClicks(child<QLineEdit>("Text1"), "C:\\data\\photo.jpgxaBrint");

  const ShownBox shown = pressAndReadMessage("TesgardButton2");

  QCOMPARE(shown.title, QStringLiteral("Zeduzovir"));
  QCOMPARE(
      shown.text,
      QStringLiteral("Restored C:\\data\\photo.jpg. Check your file to see if it's restored."));
  QCOMPARE(shown.icon, QMessageBox::Information);
  QCOMPARE(shown.buttonCount, 1);
  QVERIFY(shown.okButton);
  QCOMPARE(text("Text1"), QStringLiteral("C:\\data\\photo.jpg"));
}

void Form1Test::restoreRightAfterStartIsNothingToDecrypt() {
  const ShownBox shown = pressAndReadMessage("TesgardButton2");

  QCOMPARE(shown.title, QStringLiteral("Zeduzovir"));
  QCOMPARE(shown.text, QStringLiteral("Nothing to decrypt"));
  QCOMPARE(shown.icon, QMessageBox::NoIcon);
  QCOMPARE(shown.buttonCount, 1);
  QVERIFY(text("Text1").isEmpty());
}

void Form1Test::restoreWithoutMarkerKeepsThePath() {
  QTest::keyClicks(child<QLineEdit>("Text1"), "/home/ana/photo.jpgXABRINT");

  QCOMPARE(pressAndReadMessage("TesgardButton2").text, QStringLiteral("Nothing to decrypt"));
  QCOMPARE(text("Text1"), QStringLiteral("/home/ana/photo.jpgXABRINT"));
}

void Form1Test::restoreLeavesRowsTwoToFiveAlone() {
  for (const QString& box : kTextBoxes) {
    QTest::keyClicks(child<QLineEdit>(box), box + "xaBrint.bak");
  }

  pressAndReadMessage("TesgardButton2");

  QCOMPARE(text("Text1"), QStringLiteral("Text1"));
  for (const QString box : {"Text2", "Text3", "Text4", "Text5"}) {
    QCOMPARE(text(box), box + "xaBrint.bak");
  }
}

void Form1Test::restoreMessageShowsMarkupAsTyped() {
  child<QLineEdit>("Text1")->setText("<b>bold</b>xaBrint");
  ShownBox shown;
  ModalHandler<QMessageBox> handler([&shown](QMessageBox* box) {
    QCOMPARE(box->textFormat(), Qt::PlainText);
    shown.text = box->text();
    box->accept();
  });
  QTest::mouseClick(child<QAbstractButton>("TesgardButton2"), Qt::LeftButton);
  QVERIFY(handler.ran());
  QCOMPARE(shown.text,
           QStringLiteral("Restored <b>bold</b>. Check your file to see if it's restored."));
}

void Form1Test::restoreOfAMillionCharacterPath() {
  const QString restored = QStringLiteral("/data/") + QString(1'000'000, QLatin1Char('p'));
  child<QLineEdit>("Text1")->setText(restored + "xaBrint.bak");
  QString shown;
  ModalHandler<QMessageBox> handler([&shown](QMessageBox* box) {
    shown = box->text();
    box->accept();
  });
  QTest::mouseClick(child<QAbstractButton>("TesgardButton2"), Qt::LeftButton);

  QVERIFY(handler.ran());
  QCOMPARE(text("Text1"), restored);
  QVERIFY(shown.size() < 1100);
  QVERIFY(shown.endsWith("ppp. Check your file to see if it's restored."));
  // Still answering the keyboard afterwards.
  QVERIFY(zeduzovir::testing::ShowAndActivate(m_form.get()));
  child<QWidget>("TesgardButton1")->setFocus();
  QTest::keyClick(child<QWidget>("TesgardButton1"), Qt::Key_Tab);
  QCOMPARE(QApplication::focusWidget(), child<QWidget>("Text1"));
}

void Form1Test::keyboardPressesTheFocusedButton_data() {
  QTest::addColumn<int>("key");
  QTest::newRow("Space") << int(Qt::Key_Space);
  QTest::newRow("Enter") << int(Qt::Key_Return);
}

void Form1Test::keyboardPressesTheFocusedButton() {
  QFETCH(int, key);
  QAbstractButton* restore = child<QAbstractButton>("TesgardButton2");
  restore->setFocus();
  QTRY_VERIFY(restore->hasFocus());
  ModalHandler<QMessageBox> handler([](QMessageBox* box) { box->accept(); });
  QTest::keyClick(restore, Qt::Key(key));
  QVERIFY(handler.ran());
}

void Form1Test::browseFillsOnlyItsOwnRow_data() {
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("box");
  QTest::newRow("row 1") << "TesgardButton1"
                         << "Text1";
  QTest::newRow("row 2") << "TesgardButton4"
                         << "Text2";
  QTest::newRow("row 3") << "TesgardButton5"
                         << "Text3";
  QTest::newRow("row 4") << "TesgardButton6"
                         << "Text4";
  QTest::newRow("row 5") << "TesgardButton7"
                         << "Text5";
}

void Form1Test::browseFillsOnlyItsOwnRow() {
  QFETCH(QString, button);
  QFETCH(QString, box);
  const QString chosen = createFile("report.docxaBrint");
  for (const QString& each : kTextBoxes) {
    child<QLineEdit>(each)->setText("typed");
  }

  ModalHandler<QFileDialog> handler([&chosen](QFileDialog* dialog) {
    QCOMPARE(dialog->objectName(), QStringLiteral("CommonDialog1"));
    QCOMPARE(dialog->parentWidget()->objectName(), QStringLiteral("Form1"));
    QVERIFY(dialog->nameFilters().join("").contains("*"));
    ChooseFile(dialog, chosen);
  });
  QTest::mouseClick(child<QAbstractButton>(button), Qt::LeftButton);

  QVERIFY(handler.ran());
  for (const QString& each : kTextBoxes) {
    QCOMPARE(text(each), each == box ? chosen : QStringLiteral("typed"));
  }
}

void Form1Test::browseCancelLeavesTypedText() {
  child<QLineEdit>("Text2")->setText("typed by hand");
  ModalHandler<QFileDialog> handler(CancelDialog);
  QTest::mouseClick(child<QAbstractButton>("TesgardButton4"), Qt::LeftButton);

  QVERIFY(handler.ran());
  QCOMPARE(text("Text2"), QStringLiteral("typed by hand"));
}

void Form1Test::dialogOpensWithLastChosenFileFromAnyRow() {
  const QString chosen = createFile("one.docxaBrint");
  ModalHandler<QFileDialog> choose([&chosen](QFileDialog* dialog) { ChooseFile(dialog, chosen); });
  QTest::mouseClick(child<QAbstractButton>("TesgardButton4"), Qt::LeftButton);
  QVERIFY(choose.ran());
  child<QLineEdit>("Text4")->setText("typed in row 4");

  QStringList offered;
  QString nameShown;
  ModalHandler<QFileDialog> cancel([&](QFileDialog* dialog) {
    offered = dialog->selectedFiles();
    nameShown = dialog->findChild<QLineEdit*>("fileNameEdit")->text();
    CancelDialog(dialog);
  });
  QTest::mouseClick(child<QAbstractButton>("TesgardButton6"), Qt::LeftButton);

  QVERIFY(cancel.ran());
  QCOMPARE(offered, QStringList{chosen});
  QCOMPARE(nameShown, QStringLiteral("one.docxaBrint"));
  QCOMPARE(text("Text2"), chosen);
  QCOMPARE(text("Text4"), QStringLiteral("typed in row 4"));
}

void Form1Test::chosenFileThenRestore() {
  const QString chosen = createFile("photo.jpgxaBrint");
  ModalHandler<QFileDialog> choose([&chosen](QFileDialog* dialog) { ChooseFile(dialog, chosen); });
  QTest::mouseClick(child<QAbstractButton>("TesgardButton1"), Qt::LeftButton);
  QVERIFY(choose.ran());

  const QString restored = m_files.filePath("photo.jpg");
  QCOMPARE(pressAndReadMessage("TesgardButton2").text,
           "Restored " + restored + ". Check your file to see if it's restored.");
  QCOMPARE(text("Text1"), restored);
  // The file itself is never touched.
  QVERIFY(QFile::exists(chosen));
  QVERIFY(!QFile::exists(restored));
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
