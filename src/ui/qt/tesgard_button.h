#pragma once

#include <QAbstractButton>

#include "ui/tesgard_button_settings.h"

namespace zeduzovir {

// The window's push button: a flat face with an embossed edge, drawn from its stored
// settings so it looks the same under every platform style.
class TesgardButton final : public QAbstractButton {
  Q_OBJECT

 public:
  explicit TesgardButton(const TesgardButtonSettings& settings, QWidget* parent = nullptr);

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  TesgardButtonSettings m_settings;
};

}  // namespace zeduzovir
