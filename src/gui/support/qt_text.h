#pragma once

#include <QString>
#include <filesystem>
#include <string>

// Text crosses between the core (UTF-8 std::string, std::filesystem::path) and Qt here.
namespace athup::gui {

inline QString qs(const std::string& utf8) {
  return QString::fromStdString(utf8);
}

// CR LF and lone CR line ends as Qt's editors expect them.
inline QString withLfLineEnds(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

inline std::filesystem::path toPath(const QString& text) {
#ifdef _WIN32
  return std::filesystem::path(text.toStdWString());
#else
  return std::filesystem::path(text.toStdString());
#endif
}

inline QString fromPath(const std::filesystem::path& path) {
#ifdef _WIN32
  return QString::fromStdWString(path.wstring());
#else
  return QString::fromStdString(path.string());
#endif
}

}  // namespace athup::gui
