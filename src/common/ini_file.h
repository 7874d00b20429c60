#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace athup::common {

// An INI text held in memory: "[section]" lines and "key=value" lines. Lookups of sections and
// keys ignore ASCII case like the Windows INI functions; the case first written is kept. Section
// names may contain backslashes ("Software\Fiscus\Orb\CRC"). Values are kept verbatim: no quote
// processing and no trimming, only a line's trailing CR is removed; keys are trimmed. CR LF and
// LF line ends are both read; text() and saveTo() write CR LF. Comment lines, blank lines and
// lines that are neither are kept where they are, so a file read and written back is unchanged
// apart from its line ends; a UTF-8 byte-order mark is skipped and written back. When a section or
// key appears twice, the first one is read and written, like the Windows INI functions.
//
// The object is byte-transparent: files are read and written as they are. Callers that keep an
// INI text in Big5 convert it with big5.h before fromText() and after text().
class IniFile {
 public:
  IniFile() = default;

  // Parses an INI text.
  [[nodiscard]] static IniFile fromText(std::string_view text);

  // Reads a file; a missing file gives an empty IniFile. An existing file that cannot be read
  // throws athup::Error.
  [[nodiscard]] static IniFile load(const std::filesystem::path& path);

  [[nodiscard]] std::string readString(std::string_view section, std::string_view key,
                                       std::string_view defaultValue = {}) const;

  // The value, or nullopt when the key is absent (an empty value is present).
  [[nodiscard]] std::optional<std::string> find(std::string_view section,
                                                std::string_view key) const;

  // Sets a value, adding the section and key when missing. A section name with ']' or a line
  // break, a key that is empty (after trimming) or holds '=' or a line break, and a value with a
  // line break would corrupt the file and throw std::invalid_argument.
  void writeString(std::string_view section, std::string_view key, std::string_view value);

  // Removes a key; returns whether it was there.
  bool deleteKey(std::string_view section, std::string_view key);

  // Removes a section with its keys; returns whether it was there.
  bool eraseSection(std::string_view section);

  [[nodiscard]] bool sectionExists(std::string_view section) const;
  [[nodiscard]] bool valueExists(std::string_view section, std::string_view key) const;

  // Section names in file order, as spelled in the file.
  [[nodiscard]] std::vector<std::string> sections() const;

  // Key names of a section in file order; empty for a missing section.
  [[nodiscard]] std::vector<std::string> keys(std::string_view section) const;

  // The whole INI text with CR LF line ends.
  [[nodiscard]] std::string text() const;

  // Writes text() to the file through the atomic writer (atomic_file.h): a crash or a full disk
  // leaves either the old or the new file, never half of one. Missing parent folders are created
  // private (0700). Failure throws athup::Error and leaves any existing file untouched.
  void saveTo(const std::filesystem::path& path) const;

 private:
  struct Line {
    std::string key;    // trimmed key; empty for a comment, blank or unparsed line
    std::string value;  // the value of a key line
    std::string raw;    // the line as read; empty when the line was written here
  };
  struct Section {
    std::string name;
    std::string rawHeader;  // the "[name]" line as read; empty when written here
    std::vector<Line> lines;
  };

  [[nodiscard]] static bool isBlank(const Line& line);
  [[nodiscard]] const Section* findSection(std::string_view name) const;
  [[nodiscard]] Section* findSection(std::string_view name);

  bool m_byteOrderMark = false;  // a UTF-8 mark at the start is kept for writing back
  std::vector<Line> m_preamble;  // lines before the first section
  std::vector<Section> m_sections;
};

}  // namespace athup::common
