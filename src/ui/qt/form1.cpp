#include "ui/qt/form1.h"

#include <QAbstractButton>
#include <QDropEvent>
#include <QFileDialog>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <vector>

#include "commands/drop_command.h"
#include "commands/file_rows.h"
#include "commands/open_files_command.h"
#include "ui/accessible_text.h"
#include "ui/form1_layout.h"
#include "ui/form1_routing.h"
#include "ui/qt/qt_fonts.h"
#include "ui/qt/qt_text.h"
#include "ui/qt/tesgard_button.h"
#include "ui/tesgard_button_settings.h"
#include "ui/twips.h"

namespace zeduzovir {

namespace {

QRect ToQRect(const TwipsRect& twips) {
  const PixelRect px = TwipsToPixels(twips);
  return {px.left, px.top, px.width, px.height};
}

QWidget* CreateControl(const ControlSpec& entry, QWidget* parent) {
  QWidget* control = nullptr;
  switch (entry.kind) {
    case ControlKind::Label: {
      auto* label = new QLabel(ToQString(entry.text), parent);
      label->setTextFormat(Qt::PlainText);
      control = label;
      break;
    }
    case ControlKind::TextBox: {
      auto* edit = new QLineEdit(ToQString(entry.text), parent);
      // Paths of any length; Qt would otherwise stop at 32767 characters.
      edit->setMaxLength(std::numeric_limits<int>::max());
      control = edit;
      break;
    }
    case ControlKind::Button: {
      auto* button = new TesgardButton(kTesgardButtonSettings, parent);
      button->setText(ToQString(entry.text));
      control = button;
      break;
    }
  }
  control->setObjectName(
      QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
  control->setGeometry(ToQRect(entry.bounds));
  control->setFont(ControlFont(entry.font, parent->font()));
  return control;
}

// The local files among dropped URLs, in their order; a web link is none. Reads the URLs only,
// never the files they name.
std::vector<std::u16string> LocalPaths(const QMimeData& dropped) {
  std::vector<std::u16string> paths;
  for (const QUrl& url : dropped.urls()) {
    if (url.isLocalFile()) {
      paths.push_back(ToU16String(url.toLocalFile()));
    }
  }
  return paths;
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent) {
  InstallFontSubstitutes();
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(ToQString(kForm1Caption));
  setWindowIcon(QIcon(QStringLiteral(":/icons/zeduzovir.ico")));
  setFixedSize(TwipsToPixels(kForm1ClientWidth), TwipsToPixels(kForm1ClientHeight));

  createControls();
  connectButtons();
}

void Form1::OpenFiles(StartFiles files) {
  const std::u16string leftOut = OpenFilesCommand(files, *this);
  if (!leftOut.empty()) {
    // Posted, so the box opens over the window once the event loop has shown it.
    QTimer::singleShot(0, this,
                       [this, leftOut] { ShowMessage(leftOut, MessageIcon::Information); });
  }
}

QFileDialog* Form1::commonDialog1() {
  // Made on first use: a file dialog costs more to build than the rest of the window, and
  // many runs never open it.
  if (m_commonDialog1 == nullptr) {
    m_commonDialog1 = new QFileDialog(this);
    m_commonDialog1->setObjectName(QStringLiteral("CommonDialog1"));
    m_commonDialog1->setFileMode(QFileDialog::ExistingFile);
    m_commonDialog1->setAcceptMode(QFileDialog::AcceptOpen);
  }
  return m_commonDialog1;
}

void Form1::createControls() {
  for (const ControlSpec& entry : Form1Controls()) {
    m_controls[IndexOf(entry.id)] = CreateControl(entry, this);
  }
  // A label names its box for screen readers; each Browse button says which row it fills.
  for (const FileRow& row : FileRows()) {
    static_cast<QLabel*>(m_controls[IndexOf(row.label)])
        ->setBuddy(m_controls[IndexOf(row.textBox)]);
    m_controls[IndexOf(row.browseButton)]->setAccessibleDescription(
        ToQString(AccessibleDescription(row.browseButton)));
    // Files dropped on the box or its label fill the row.
    for (const ControlId id : {row.label, row.textBox}) {
      m_controls[IndexOf(id)]->setAcceptDrops(true);
      m_controls[IndexOf(id)]->installEventFilter(this);
    }
  }
  const auto tabOrder = Form1TabOrder();
  for (std::size_t i = 1; i < tabOrder.size(); ++i) {
    setTabOrder(m_controls[IndexOf(tabOrder[i - 1])], m_controls[IndexOf(tabOrder[i])]);
  }
  m_controls[IndexOf(tabOrder.front())]->setFocus();
}

void Form1::connectButtons() {
  for (const ControlSpec& entry : Form1Controls()) {
    if (entry.kind != ControlKind::Button) {
      continue;
    }
    const ControlId id = entry.id;
    connect(static_cast<QAbstractButton*>(m_controls[IndexOf(id)]), &QAbstractButton::clicked, this,
            [this, id] { PressButton(id, *this); });
  }
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  const bool dragging = event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove;
  if (!dragging && event->type() != QEvent::Drop) {
    return QWidget::eventFilter(watched, event);
  }
  auto* drop = static_cast<QDropEvent*>(event);
  // Plain text goes to the box as usual; links are taken only when they name local files.
  if (!drop->mimeData()->hasUrls()) {
    return QWidget::eventFilter(watched, event);
  }
  const std::vector<std::u16string> paths = LocalPaths(*drop->mimeData());
  const auto* found = std::find(m_controls.begin(), m_controls.end(), watched);
  const ControlId target = static_cast<ControlId>(found - m_controls.begin());
  if (paths.empty() || (!dragging && !DropCommand(target, paths, *this))) {
    drop->ignore();
    return true;
  }
  drop->acceptProposedAction();
  return true;
}

QLineEdit* Form1::textBox(ControlId id) const {
  return static_cast<QLineEdit*>(m_controls[IndexOf(id)]);
}

void Form1::ShowMessage(std::u16string_view text, MessageIcon icon) {
  QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                  ToQString(kApplicationTitle), ToQString(text), QMessageBox::Ok, this);
  // A path is shown as typed, never interpreted as markup.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

std::optional<std::u16string> Form1::PickFileToOpen() {
  QFileDialog* dialog = commonDialog1();
  if (!m_lastChosenFile.isEmpty()) {
    dialog->selectFile(m_lastChosenFile);
  }
  if (dialog->exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  const QStringList chosen = dialog->selectedFiles();
  if (chosen.isEmpty()) {
    return std::nullopt;
  }
  m_lastChosenFile = chosen.front();
  return ToU16String(m_lastChosenFile);
}

std::u16string Form1::Text(ControlId textBoxId) const {
  return ToU16String(textBox(textBoxId)->text());
}

void Form1::SetText(ControlId textBoxId, std::u16string_view text) {
  textBox(textBoxId)->setText(ToQString(text));
}

}  // namespace zeduzovir
