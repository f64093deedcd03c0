#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zeduzovir {

// The core holds text as UTF-16, as QString does, so crossing over copies code units as they
// are, lone surrogates included.
inline QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}

inline std::u16string ToU16String(const QString& text) {
  return text.toStdU16String();
}

}  // namespace zeduzovir
