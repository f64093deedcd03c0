#include "ui/qt/tesgard_button.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace zeduzovir {

namespace {

QColor ToQColor(Rgb rgb) {
  return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

TesgardButton::TesgardButton(const TesgardButtonSettings& settings, QWidget* parent)
    : QAbstractButton(parent), m_settings(settings) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_Hover);
}

QSize TesgardButton::sizeHint() const {
  const QSize textSize = fontMetrics().size(Qt::TextSingleLine, text());
  return textSize + QSize(16, 8);
}

void TesgardButton::paintEvent(QPaintEvent* /*event*/) {
  QPainter painter(this);
  const QRect face = rect();
  // A pressed button swaps its light and dark edges so it looks pushed in. The edges are filled
  // rather than stroked, so each stays one whole pixel wide at any screen scale.
  const bool sunken = isDown();
  const QColor light = ToQColor(sunken ? m_settings.embossm : m_settings.embosss);
  const QColor dark = ToQColor(sunken ? m_settings.embosss : m_settings.embossm);
  painter.fillRect(face, ToQColor(m_settings.embossm).darker(200));  // the outline
  painter.fillRect(face.adjusted(1, 1, -1, -1), dark);
  painter.fillRect(face.adjusted(1, 1, -2, -2), light);
  painter.fillRect(face.adjusted(2, 2, -2, -2), ToQColor(m_settings.bcol));

  const Rgb caption = underMouse() ? m_settings.fcolo : m_settings.fcol;
  painter.setPen(isEnabled() ? ToQColor(caption)
                             : palette().color(QPalette::Disabled, QPalette::ButtonText));
  painter.setFont(font());
  const QRect captionRect = sunken ? face.translated(1, 1) : face;
  painter.drawText(captionRect, Qt::AlignCenter | Qt::TextSingleLine, text());

  if (m_settings.showf && hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = face.adjusted(3, 3, -3, -3);
    option.backgroundColor = ToQColor(m_settings.bcol);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void TesgardButton::keyPressEvent(QKeyEvent* event) {
  // Space is handled by QAbstractButton; Enter presses the focused button too.
  if (!event->isAutoRepeat() && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    click();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

}  // namespace zeduzovir
