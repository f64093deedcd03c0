// What only the Qt window has: the fonts it draws with on Linux, and drops of links and text.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QTest>

#include "ui/qt/form1.h"
#include "window/qt/drop_on.h"

namespace zeduzovir {
namespace {

TEST(QtForm1, DrawsTheFontsWithTheirLinuxSubstitutes) {
  Form1 form;
  EXPECT_EQ(QFontInfo(form.findChild<QWidget*>("Label1")->font()).family(), "Liberation Sans");
  EXPECT_EQ(QFontInfo(form.findChild<QWidget*>("TesgardButton2")->font()).family(),
            "Liberation Serif");
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
