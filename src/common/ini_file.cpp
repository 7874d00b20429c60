#include "common/ini_file.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>
#include <utility>

#include "common/ascii.h"
#include "common/atomic_file.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/private_folder.h"
#include "common/text_helpers.h"
#include "common/whole_file.h"

namespace athup::common {
namespace {

bool sameName(std::string_view a, std::string_view b) {
  return equalsIgnoringAsciiCase(a, b);
}

bool hasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

std::string displayPath(const std::filesystem::path& path) {
  return utf8FromPath(path);
}

[[noreturn]] void throwWriteError(const std::filesystem::path& path) {
  throw Error("無法寫入檔案\"" + displayPath(path) +
              "\"！ 請確認您的磁碟機運作正常, 或該目錄尚未被設定為唯讀.");
}

}  // namespace

IniFile IniFile::fromText(std::string_view text) {
  IniFile ini;
  // A byte-order mark from an editor would otherwise hide the first section header.
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) {
    ini.m_byteOrderMark = true;
    text.remove_prefix(kByteOrderMark.size());
  }
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    std::string_view lead = line;
    while (!lead.empty() && (lead.front() == ' ' || lead.front() == '\t')) lead.remove_prefix(1);

    if (!lead.empty() && lead.front() == '[') {
      const std::size_t close = lead.find(']');
      if (close != std::string_view::npos) {
        ini.m_sections.push_back({trimBlanks(lead.substr(1, close - 1)), std::string(line), {}});
        continue;
      }
    }
    Line parsed{{}, {}, std::string(line)};
    const std::size_t equals = line.find('=');
    if (equals != std::string_view::npos && !lead.empty() && lead.front() != ';' &&
        lead.front() != '#') {
      parsed.key = trimBlanks(line.substr(0, equals));
      parsed.value = std::string(line.substr(equals + 1));
    }
    (ini.m_sections.empty() ? ini.m_preamble : ini.m_sections.back().lines)
        .push_back(std::move(parsed));
  }
  return ini;
}

IniFile IniFile::load(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return {};
  try {
    return fromText(readWholeFile(path));
  } catch (const Error&) {
    throw Error("無法讀取檔案\"" + displayPath(path) + "\"！");
  }
}

bool IniFile::isBlank(const Line& line) {
  return line.key.empty() && trimBlanks(line.raw).empty();
}

const IniFile::Section* IniFile::findSection(std::string_view name) const {
  for (const auto& section : m_sections) {
    if (sameName(section.name, name)) return &section;
  }
  return nullptr;
}

IniFile::Section* IniFile::findSection(std::string_view name) {
  return const_cast<Section*>(std::as_const(*this).findSection(name));
}

std::optional<std::string> IniFile::find(std::string_view section, std::string_view key) const {
  const Section* found = findSection(section);
  if (found == nullptr) return std::nullopt;
  const std::string wanted = trimBlanks(key);
  for (const auto& line : found->lines) {
    if (!line.key.empty() && sameName(line.key, wanted)) return line.value;
  }
  return std::nullopt;
}

std::string IniFile::readString(std::string_view section, std::string_view key,
                                std::string_view defaultValue) const {
  auto value = find(section, key);
  return value ? *value : std::string(defaultValue);
}

bool IniFile::valueExists(std::string_view section, std::string_view key) const {
  return find(section, key).has_value();
}

bool IniFile::sectionExists(std::string_view section) const {
  return findSection(section) != nullptr;
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string name = trimBlanks(section);
  const std::string keyName = trimBlanks(key);
  if (name.find(']') != std::string::npos || hasLineBreak(name)) {
    throw std::invalid_argument("INI section name cannot hold ']' or a line break");
  }
  if (keyName.empty() || keyName.find('=') != std::string::npos || hasLineBreak(keyName) ||
      keyName.front() == '[' || keyName.front() == ';' || keyName.front() == '#') {
    throw std::invalid_argument("INI key must be a non-empty name without '=' or a line break");
  }
  if (hasLineBreak(value)) throw std::invalid_argument("INI value cannot hold a line break");

  Section* target = findSection(name);
  if (target == nullptr) {
    // A blank line before a new section, as INI files are usually laid out.
    std::vector<Line>& previous = m_sections.empty() ? m_preamble : m_sections.back().lines;
    const bool anythingBefore = !m_sections.empty() || !previous.empty();
    if (anythingBefore && (previous.empty() || !isBlank(previous.back()))) previous.push_back({});
    m_sections.push_back({name, {}, {}});
    target = &m_sections.back();
  }
  for (auto& line : target->lines) {
    if (!line.key.empty() && sameName(line.key, keyName)) {
      line.value = std::string(value);
      line.raw.clear();
      return;
    }
  }
  // After the last non-blank line, so a blank line that separates sections stays at the end.
  auto position = target->lines.end();
  while (position != target->lines.begin()) {
    if (!isBlank(*(position - 1))) break;
    --position;
  }
  target->lines.insert(position, Line{keyName, std::string(value), {}});
}

bool IniFile::deleteKey(std::string_view section, std::string_view key) {
  Section* found = findSection(section);
  if (found == nullptr) return false;
  const std::string wanted = trimBlanks(key);
  const auto removed = std::erase_if(found->lines, [&](const Line& line) {
    return !line.key.empty() && sameName(line.key, wanted);
  });
  return removed > 0;
}

bool IniFile::eraseSection(std::string_view section) {
  const std::string wanted = trimBlanks(section);
  const auto removed =
      std::erase_if(m_sections, [&](const Section& s) { return sameName(s.name, wanted); });
  return removed > 0;
}

std::vector<std::string> IniFile::sections() const {
  std::vector<std::string> names;
  for (const auto& section : m_sections) {
    const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
      return sameName(name, section.name);
    });
    if (!seen) names.push_back(section.name);
  }
  return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> names;
  const Section* found = findSection(section);
  if (found == nullptr) return names;
  for (const auto& line : found->lines) {
    if (line.key.empty()) continue;
    const bool seen = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
      return sameName(name, line.key);
    });
    if (!seen) names.push_back(line.key);
  }
  return names;
}

std::string IniFile::text() const {
  std::string out = m_byteOrderMark ? "\xEF\xBB\xBF" : "";
  const auto emit = [&out](const Line& line) {
    out += line.raw.empty() && !line.key.empty() ? line.key + "=" + line.value : line.raw;
    out += "\r\n";
  };
  for (const auto& line : m_preamble) emit(line);
  for (const auto& section : m_sections) {
    out += section.rawHeader.empty() ? "[" + section.name + "]" : section.rawHeader;
    out += "\r\n";
    for (const auto& line : section.lines) emit(line);
  }
  return out;
}

void IniFile::saveTo(const std::filesystem::path& path) const {
  const std::string bytes = text();
  try {
    if (!path.parent_path().empty()) createPrivateFolder(path.parent_path());
    writeFileAtomically(path, bytes);
  } catch (const Error&) {
    throwWriteError(path);
  }
}

}  // namespace athup::common
