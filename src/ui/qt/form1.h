#pragma once

#include <QString>
#include <QWidget>
#include <array>

#include "commands/open_files_command.h"
#include "ui_services/control_id.h"
#include "ui_services/ui_services.h"

class QFileDialog;
class QLineEdit;

namespace zeduzovir {

// The main window, built from the window table; it routes every button press to the
// core's commands and serves them as their UiServices.
class Form1 final : public QWidget, public UiServices {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);

  // Fills the rows with files given at start; tells of any left out once the window shows.
  void OpenFiles(StartFiles files);

  void ShowMessage(std::u16string_view text, MessageIcon icon) override;
  std::optional<std::u16string> PickFileToOpen() override;
  std::u16string Text(ControlId textBox) const override;
  void SetText(ControlId textBox, std::u16string_view text) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void createControls();
  void connectButtons();
  QLineEdit* textBox(ControlId id) const;
  QFileDialog* commonDialog1();

  std::array<QWidget*, kControlCount> m_controls{};
  QFileDialog* m_commonDialog1 = nullptr;
  QString m_lastChosenFile;
};

}  // namespace zeduzovir
