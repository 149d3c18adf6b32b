// Conversions between the program's UTF-16 strings and paths and Qt's strings.
#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace junctra {

inline QString ToQString(std::u16string_view text) {
  return QString(reinterpret_cast<const QChar*>(text.data()), static_cast<qsizetype>(text.size()));
}
inline QString ToQString(const char* utf8) { return QString::fromUtf8(utf8 ? utf8 : ""); }
inline QString PathToQString(const std::filesystem::path& path) {
  return ToQString(PathToUtf16(path));
}

inline std::filesystem::path QStringToPath(const QString& text) {
  return Utf16ToPath(text.toStdU16String());
}

}  // namespace junctra
