#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QTest>
#include <memory>

#include "show_window.h"
#include "ui/qt/form1.h"

using zeduzovir::Form1;

// Reads the window as a screen reader does, through Qt's accessibility interface.
class Form1AccessibilityTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void controlsHaveNamesAndRoles_data();
  void controlsHaveNamesAndRoles();
  void windowIsNamedAfterTheProgram();
  void tabOrderReadsAsTheRowsDo();

 private:
  QAccessibleInterface* accessible(const QString& name) const {
    QWidget* widget = m_form->findChild<QWidget*>(name);
    if (widget == nullptr) {
      qFatal("no child named %s", qPrintable(name));
    }
    return QAccessible::queryAccessibleInterface(widget);
  }

  std::unique_ptr<Form1> m_form;
};

void Form1AccessibilityTest::init() {
  m_form = std::make_unique<Form1>();
  QVERIFY(zeduzovir::testing::ShowAndActivate(m_form.get()));
}

void Form1AccessibilityTest::cleanup() {
  m_form.reset();
  QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty());
}

void Form1AccessibilityTest::controlsHaveNamesAndRoles_data() {
  QTest::addColumn<QAccessible::Role>("role");
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("description");
  for (int row = 1; row <= 5; ++row) {
    QTest::addRow("Label%d", row) << QAccessible::StaticText << QStringLiteral("File%1:").arg(row)
                                  << QString();
    QTest::addRow("Text%d", row) << QAccessible::EditableText << QStringLiteral("File%1:").arg(row)
                                 << QString();
  }
  const char* browseButtons[] = {"TesgardButton1", "TesgardButton4", "TesgardButton5",
                                 "TesgardButton6", "TesgardButton7"};
  for (int row = 1; row <= 5; ++row) {
    QTest::newRow(browseButtons[row - 1])
        << QAccessible::Button << "Browse" << QStringLiteral("Choose the file for File%1").arg(row);
  }
  QTest::newRow("TesgardButton2") << QAccessible::Button << "Restore xabrint File" << QString();
}

void Form1AccessibilityTest::controlsHaveNamesAndRoles() {
  QFETCH(QAccessible::Role, role);
  QFETCH(QString, name);
  QFETCH(QString, description);
  QAccessibleInterface* control = accessible(QString::fromLatin1(QTest::currentDataTag()));
  QVERIFY(control != nullptr);
  QCOMPARE(control->role(), role);
  QCOMPARE(control->text(QAccessible::Name), name);
  QCOMPARE(control->text(QAccessible::Description), description);
  QVERIFY(!control->state().invisible);
}

void Form1AccessibilityTest::windowIsNamedAfterTheProgram() {
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(m_form.get());
  // Qt presents a plain top-level widget as the client area of its window.
  QCOMPARE(window->role(), QAccessible::Client);
  QCOMPARE(window->text(QAccessible::Name), QStringLiteral("Zeduzovir"));
  QCOMPARE(window->childCount(), 16);
}

void Form1AccessibilityTest::tabOrderReadsAsTheRowsDo() {
  // What a screen reader announces as the Tab key moves on from the first Browse button.
  const QStringList expected = {"File1:", "Restore xabrint File",
                                "File2:", "File3:",
                                "File4:", "File5:",
                                "Browse", "Browse",
                                "Browse", "Browse",
                                "Browse"};
  QStringList heard;
  for (qsizetype i = 0; i < expected.size(); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QAccessibleInterface* focused =
        QAccessible::queryAccessibleInterface(QApplication::focusWidget());
    QVERIFY(focused->state().focused);
    heard << focused->text(QAccessible::Name);
  }
  QCOMPARE(heard, expected);
}

QTEST_MAIN(Form1AccessibilityTest)
#include "form1_accessibility_test.moc"
