// What only the Qt window has: its fonts' substitutes on Linux, and what screen readers hear.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFontInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "ui/qt/form1.h"
#include "window/qt/drop_on.h"

namespace zeduzovir {
namespace {

struct QtControl {
  const char* name;
  QString family;  // as asked for, then as drawn on Linux
  QString drawnWith;
  qreal points;
  bool bold;
  QAccessible::Role role;
  QString accessibleName;
  QString description;
};

const QString kLabelFont = "MS Sans Serif";
const QString kButtonFont = "Times New Roman";

TEST(QtForm1, FontsAndWhatScreenReadersHear) {
  Form1 form;
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  const QtControl controls[] = {
      {"Label2", kLabelFont, "Liberation Sans", 9.75, true, QAccessible::StaticText, "File2:", ""},
      {"Text2", "", "", 0, false, QAccessible::EditableText, "File2:", ""},
      {"TesgardButton1", kButtonFont, "Liberation Serif", 8.25, false, QAccessible::Button,
       "Browse", "Choose the file for File1"},
      {"TesgardButton7", kButtonFont, "Liberation Serif", 8.25, false, QAccessible::Button,
       "Browse", "Choose the file for File5"},
      {"TesgardButton2", kButtonFont, "Liberation Serif", 14.25, true, QAccessible::Button,
       "Restore xabrint File", ""},
  };
  for (const QtControl& expected : controls) {
    SCOPED_TRACE(expected.name);
    QWidget* control = form.findChild<QWidget*>(expected.name);
    ASSERT_NE(control, nullptr);
    if (expected.family.isEmpty()) {
      EXPECT_EQ(control->font(), form.font());
    } else {
      EXPECT_EQ(control->font().family(), expected.family);
      EXPECT_EQ(control->font().pointSizeF(), expected.points);
      EXPECT_EQ(control->font().weight(), expected.bold ? QFont::Bold : QFont::Normal);
#ifdef Q_OS_LINUX
      EXPECT_EQ(QFontInfo(control->font()).family(), expected.drawnWith);
#endif
    }
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    EXPECT_EQ(accessible->role(), expected.role);
    EXPECT_EQ(accessible->text(QAccessible::Name), expected.accessibleName);
    EXPECT_EQ(accessible->text(QAccessible::Description), expected.description);
  }
  EXPECT_TRUE(form.windowIcon().availableSizes().contains(QSize(32, 32)));
  QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&form);
  EXPECT_EQ(window->text(QAccessible::Name), "Zeduzovir");
  EXPECT_EQ(window->childCount(), 16);
}

TEST(QtForm1, DroppedLinksFillARowOnlyWithLocalFilesAndTextStillInserts) {
  Form1 form;
  auto* box = form.findChild<QLineEdit*>("Text1");
  box->setText("typed");
  QMimeData webLink;
  webLink.setUrls({QUrl("https://example.org/photo.jpgxaBrint")});
  webLink.setText("https://example.org/photo.jpgxaBrint");
  EXPECT_FALSE(testing::DropOn(box, webLink));
  EXPECT_EQ(box->text(), "typed");

  QMimeData mixed;
  mixed.setUrls({QUrl("https://example.org/a"), QUrl::fromLocalFile("/home/ana/b.docxaBrint")});
  EXPECT_TRUE(testing::DropOn(form.findChild<QWidget*>("Label1"), mixed));
  EXPECT_EQ(box->text(), "/home/ana/b.docxaBrint");

  QMimeData text;
  text.setText("more");
  EXPECT_TRUE(testing::DropOn(box, text));
  EXPECT_TRUE(box->text().contains("more"));
}

}  // namespace
}  // namespace zeduzovir
