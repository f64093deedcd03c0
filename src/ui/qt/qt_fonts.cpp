#include "ui/qt/qt_fonts.h"

#include <QStringList>

#include "ui/qt/qt_text.h"

namespace zeduzovir {

void InstallFontSubstitutes() {
  // Qt consults these only when a family is not installed, so Windows keeps its own fonts.
  QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                             {QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
  QFont::insertSubstitutions(QStringLiteral("Times New Roman"),
                             {QStringLiteral("Liberation Serif"), QStringLiteral("Times")});
}

QFont ControlFont(const FontSpec& wanted, const QFont& windowFont) {
  if (wanted.face.empty()) {
    return windowFont;
  }
  QFont font(ToQString(wanted.face));
  font.setPointSizeF(wanted.points);
  font.setWeight(static_cast<QFont::Weight>(wanted.weight));
  return font;
}

}  // namespace zeduzovir
