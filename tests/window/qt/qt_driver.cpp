// Drives the Qt window through Qt Test. Input goes to the window as the platform would deliver
// it, so modal boxes block it as they block a person. Below the driver, the few checks that only
// the Qt window has.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTimer>
#include <cstdlib>
#include <functional>

#include "ui/qt/command_line.h"
#include "ui/qt/form1.h"
#include "ui/qt/qt_text.h"
#include "window/window_driver.h"

namespace zeduzovir::testing {
namespace {

// Drags `dropped` over the middle of `target` and lets go, as the platform reports a drop;
// returns whether the target took the drop.
bool DropOn(QWidget* target, const QMimeData& dropped) {
  const QPoint middle = target->rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) {
    return false;
  }
  QDropEvent drop(middle, Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  return drop.isAccepted();
}

class QtDriver final : public WindowDriver {
 public:
  explicit QtDriver(const std::vector<std::string>& arguments) : m_form(std::make_unique<Form1>()) {
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
      argv.push_back(argument.c_str());
    }
    m_form->OpenFiles(ReadCommandLine(argv, m_folder.get()).files);
    m_shownAtStart = WhileAnswering([this] { m_form->show(); }, std::nullopt);
  }

  ~QtDriver() override {
    QApplication::setPalette(m_palette);
    m_form.reset();
    // Every dialog belongs to the window, so nothing may outlive it.
    QApplication::processEvents();
    EXPECT_TRUE(QApplication::topLevelWidgets().isEmpty());
  }

  Modal ShownAtStart() override { return m_shownAtStart; }
  std::u16string CurrentFolder() override {
    return ToU16String(QString::fromUtf8(m_folder.get())) + u"/";
  }
  int LayoutDpi() const override { return 96; }
  bool MoveToScreenOfDpi(int) override { return false; }
  PixelRect ClientRect() override { return {0, 0, m_form->width(), m_form->height()}; }
  PixelRect RectOf(std::string_view name) override {
    const QRect r = child(name)->geometry();
    return {r.left(), r.top(), r.width(), r.height()};
  }
  std::u16string TextOf(std::string_view name) override {
    // The window's title, or the text of a box, label or button.
    return ToU16String(name == "Form1" ? m_form->windowTitle()
                                       : child(name)->property("text").toString());
  }
  std::string FocusedControl() override {
    QWidget* focused = QApplication::focusWidget();
    return focused != nullptr ? focused->objectName().toStdString() : std::string();
  }
  Font FontOf(std::string_view name) override {
    const QFont font = name == "Form1" ? m_form->font() : child(name)->font();
    return {ToU16String(font.family()), QFontInfo(font).pixelSize(), font.weight()};
  }
  std::u16string AccessibleName(std::string_view name) override {
    return ToU16String(QAccessible::queryAccessibleInterface(child(name))->text(QAccessible::Name));
  }
  std::u16string AccessibleDescription(std::string_view name) override {
    return ToU16String(
        QAccessible::queryAccessibleInterface(child(name))->text(QAccessible::Description));
  }
  std::vector<int> IconSizes() override {
    std::vector<int> sizes;
    for (const QSize size : m_form->windowIcon().availableSizes()) {
      sizes.push_back(size.width());
    }
    return sizes;
  }
  void PressTab() override { QTest::keyClick(window(), Qt::Key_Tab); }
  void Paste(std::string_view box, std::u16string_view text) override {
    qobject_cast<QLineEdit*>(child(box))->setText(ToQString(text));
  }
  void Type(std::string_view box, std::u16string_view text) override {
    QTest::mouseClick(window(), Qt::LeftButton, {}, Centre(box));
    for (const char16_t unit : text) {
      QTest::keyClick(window(), static_cast<char>(unit));
    }
  }

  Modal Press(std::string_view button, PressWith how,
              std::optional<std::u16string> choose) override {
    return WhileAnswering(
        [&] {
          if (how == PressWith::Mouse) {
            QTest::mouseClick(window(), Qt::LeftButton, {}, Centre(button));
          } else {
            child(button)->setFocus();
            QTest::keyClick(window(), how == PressWith::Space   ? Qt::Key_Space
                                      : how == PressWith::Enter ? Qt::Key_Return
                                                                : Qt::Key_X);
          }
        },
        choose);
  }

  // Does `act` and deals with the modal window it opens, as Press() says; returns what it showed.
  Modal WhileAnswering(const std::function<void()>& act, std::optional<std::u16string> choose) {
    Modal shown;
    QTimer poll;
    QElapsedTimer visible;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      if (modal == nullptr || !modal->isVisible())
        return;
      // Answered once it has the keyboard, as a person answers it: a box closed before the
      // compositor has handed it the keyboard may leave the keyboard with no window at all.
      if (!visible.isValid())
        visible.start();
      if (QGuiApplication::focusWindow() != modal->windowHandle() && !visible.hasExpired(15000))
        return;
      EXPECT_EQ(QGuiApplication::focusWindow(), modal->windowHandle())
          << "the box never had the keyboard";
      poll.stop();
      shown.title = ToU16String(modal->windowTitle());
      Type("Text5", u"z");  // blocked while the modal window is open
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        // The message as it reads on screen: markup, if taken as such, shows as its text.
        const auto* label = box->findChild<QLabel*>("qt_msgbox_label");
        const bool markup =
            label->textFormat() == Qt::RichText ||
            (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(label->text()));
        shown = {Modal::Kind::MessageBox,
                 shown.title,
                 ToU16String(markup ? QTextDocumentFragment::fromHtml(label->text()).toPlainText()
                                    : label->text()),
                 box->icon() != QMessageBox::NoIcon,
                 static_cast<int>(box->buttons().size()),
                 {}};
        QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
      } else if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
        shown.kind = Modal::Kind::FileDialog;
        auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
        shown.fileName = ToU16String(name->text());
        auto* buttons = dialog->findChild<QDialogButtonBox*>("buttonBox");
        if (choose)
          name->setText(ToQString(*choose));
        QTest::mouseClick(
            buttons->button(choose ? QDialogButtonBox::Open : QDialogButtonBox::Cancel),
            Qt::LeftButton);
      }
      if (modal->isVisible()) {
        ADD_FAILURE() << "the modal window stayed open";
        modal->close();
      }
      // A window manager hands the window back the keyboard once its box has closed.
      m_form->activateWindow();
    });
    poll.start(10);
    act();
    m_form->activateWindow();
    // Waited for as an event, since Wayland lets only the compositor hand out the keyboard.
    // Generous: a compositor may first play out the box's closing animation.
    EXPECT_TRUE(QTest::qWaitFor(
        [this] {
          return QGuiApplication::focusWindow() == window() &&
                 QApplication::focusWidget() != nullptr;
        },
        15000));
    return shown;
  }

  void Drop(std::string_view name, const std::vector<std::u16string>& paths) override {
    QMimeData dropped;
    QList<QUrl> urls;
    for (const std::u16string& path : paths) {
      urls << QUrl::fromLocalFile(ToQString(path));
    }
    dropped.setUrls(urls);
    DropOn(child(name), dropped);
  }

  void UseDarkColours() override {
    QPalette dark = m_palette;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, Qt::black},
                                       {QPalette::WindowText, Qt::white},
                                       {QPalette::Base, Qt::black},
                                       {QPalette::Text, Qt::white}}) {
      dark.setColor(role, colour);
    }
    QApplication::setPalette(dark);
    QApplication::processEvents();
  }

  Picture Grab(std::string_view name, bool held) override {
    const QPoint away(1, m_form->height() - 2);
    if (held)
      QTest::mousePress(window(), Qt::LeftButton, {}, Centre(name));
    const QImage image = child(name)->grab().toImage().convertToFormat(QImage::Format_RGB32);
    if (held)
      QTest::mouseRelease(window(), Qt::LeftButton, {}, away);  // away: no click
    Picture picture{image.width(), image.height(), {}};
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        picture.pixels.push_back(
            {std::uint8_t(qRed(pixel)), std::uint8_t(qGreen(pixel)), std::uint8_t(qBlue(pixel))});
      }
    }
    return picture;
  }

  int CaptionWidth(std::string_view name) override {
    return qRound(QFontMetrics(child(name)->font())
                      .horizontalAdvance(child(name)->property("text").toString()) *
                  m_form->devicePixelRatioF());
  }

  std::u16string CreateFile(std::u16string_view name) override {
    const QString path = m_files.filePath(ToQString(name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    return ToU16String(path);
  }

 private:
  QWindow* window() { return m_form->windowHandle(); }
  QWidget* child(std::string_view name) {
    auto* found =
        m_form->findChild<QWidget*>(QString::fromUtf8(name.data(), qsizetype(name.size())));
    if (found == nullptr)
      throw std::runtime_error("no control named " + std::string(name));
    return found;
  }
  QPoint Centre(std::string_view name) { return child(name)->geometry().center(); }

  QPalette m_palette = QApplication::palette();
  std::unique_ptr<char, decltype(&std::free)> m_folder{getcwd(nullptr, 0), &std::free};
  Modal m_shownAtStart;
  std::unique_ptr<Form1> m_form;
  QTemporaryDir m_files;
};

// What only the Qt window has: the fonts it draws with on Linux, and drops of links and text.

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
  EXPECT_FALSE(DropOn(box, webLink));
  EXPECT_EQ(box->text(), "typed");

  QMimeData mixed;
  mixed.setUrls({QUrl("https://example.org/a"), QUrl::fromLocalFile("/home/ana/b.docxaBrint")});
  EXPECT_TRUE(DropOn(form.findChild<QWidget*>("Label1"), mixed));
  EXPECT_EQ(box->text(), "/home/ana/b.docxaBrint");

  QMimeData text;
  text.setText("more");
  EXPECT_TRUE(DropOn(box, text));
  EXPECT_TRUE(box->text().contains("more"));
}

}  // namespace

std::unique_ptr<WindowDriver> OpenForm1(const std::vector<std::string>& arguments) {
  return std::make_unique<QtDriver>(arguments);
}

}  // namespace zeduzovir::testing

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Drive Qt's own file dialog, never a desktop's native one, so the tests know what they click.
  QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
