#include "store/engine/sql_dialect.h"

#include <cctype>

#include "common/ascii.h"
#include "store/engine/table_files.h"

namespace athup::store {

namespace {

bool isWordStart(char c) {
  const auto u = static_cast<unsigned char>(c);
  return common::isAsciiUpper(common::toUpperAscii(c)) || c == '_' || u >= 0x80;
}

bool isWordChar(char c) {
  const auto u = static_cast<unsigned char>(c);
  return std::isalnum(u) != 0 || c == '_' || c == '$' || u >= 0x80;
}

bool isBareIdentifier(std::string_view text) {
  if (text.empty() || !isWordStart(text.front())) {
    return false;
  }
  for (char c : text) {
    if (!isWordChar(c)) {
      return false;
    }
  }
  return true;
}

bool endsWithDbExtension(std::string_view text) {
  return text.size() > 3 && upperAscii(text.substr(text.size() - 3)) == ".DB";
}

// Reads a literal quoted with `quote` starting at `pos` (the opening quote); a doubled quote stands
// for one quote character. Returns the content and moves `pos` past the closing quote (or to the
// end when it is missing, leaving SQLite to report the broken statement).
std::string readQuoted(std::string_view sql, std::size_t& pos, char quote) {
  std::string content;
  ++pos;
  while (pos < sql.size()) {
    if (sql[pos] == quote) {
      if (pos + 1 < sql.size() && sql[pos + 1] == quote) {
        content += quote;
        pos += 2;
        continue;
      }
      ++pos;
      return content;
    }
    content += sql[pos++];
  }
  return content;
}

std::string singleQuoted(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') {
      out += '\'';
    }
  }
  out += '\'';
  return out;
}

std::string doubleQuotedIdentifier(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    out += c;
    if (c == '"') {
      out += '"';
    }
  }
  out += '"';
  return out;
}

}  // namespace

TranslatedStatement translateStatement(std::string_view sql) {
  TranslatedStatement result;
  std::string& out = result.sql;
  out.reserve(sql.size());

  // The first words decide CREATE TABLE / ALTER TABLE; the third word is the table.
  std::vector<std::string> leadingWords;
  bool leadingDone = false;
  auto noteWord = [&](const std::string& word, std::size_t offset) {
    result.identifiers.push_back(word);
    if (leadingDone) {
      return;
    }
    leadingWords.push_back(upperAscii(word));
    if (leadingWords.size() == 3) {
      leadingDone = true;
      if (leadingWords[1] == "TABLE" && leadingWords[0] == "CREATE") {
        result.createdTable = word;
        result.createdTableOffset = offset;
      } else if (leadingWords[1] == "TABLE" && leadingWords[0] == "ALTER") {
        result.alteredTable = word;
      }
    }
  };
  auto noteOther = [&] {
    if (!leadingWords.empty()) {
      leadingDone = true;
    }
  };

  std::size_t pos = 0;
  while (pos < sql.size()) {
    const char c = sql[pos];
    if (c == '\'') {
      const std::size_t start = pos;
      (void)readQuoted(sql, pos, '\'');
      out.append(sql.substr(start, pos - start));
      noteOther();
    } else if (c == '"') {
      const std::string content = readQuoted(sql, pos, '"');
      if (endsWithDbExtension(content)) {
        // A table named as its file: the table itself.
        const std::string table = content.substr(0, content.size() - 3);
        const std::string written = isBareIdentifier(table) ? table : doubleQuotedIdentifier(table);
        const std::size_t offset = out.size();
        out += written;
        noteWord(table, offset);
      } else {
        out += singleQuoted(content);
        noteOther();
      }
    } else if (c == '-' && pos + 1 < sql.size() && sql[pos + 1] == '-') {
      const std::size_t end = sql.find('\n', pos);
      const std::size_t stop = end == std::string_view::npos ? sql.size() : end;
      out.append(sql.substr(pos, stop - pos));
      pos = stop;
    } else if (c == '/' && pos + 1 < sql.size() && sql[pos + 1] == '*') {
      const std::size_t end = sql.find("*/", pos + 2);
      const std::size_t stop = end == std::string_view::npos ? sql.size() : end + 2;
      out.append(sql.substr(pos, stop - pos));
      pos = stop;
    } else if (c == ':' && pos + 1 < sql.size() && isWordChar(sql[pos + 1])) {
      std::size_t end = pos + 1;
      while (end < sql.size() && isWordChar(sql[end])) {
        ++end;
      }
      result.parameters.emplace_back(sql.substr(pos + 1, end - pos - 1));
      out.append(sql.substr(pos, end - pos));
      pos = end;
      noteOther();
    } else if (isWordStart(c)) {
      std::size_t end = pos;
      while (end < sql.size() && isWordChar(sql[end])) {
        ++end;
      }
      const std::string word(sql.substr(pos, end - pos));
      const std::size_t offset = out.size();
      out += word;
      pos = end;
      // ORBDB_ATH_T02.DB written without quotes: drop the extension.
      if (pos + 3 <= sql.size() && sql[pos] == '.' && upperAscii(sql.substr(pos + 1, 2)) == "DB" &&
          (pos + 3 == sql.size() || !isWordChar(sql[pos + 3]))) {
        pos += 3;
      }
      noteWord(word, offset);
    } else if (common::isAsciiDigit(c)) {
      std::size_t end = pos;
      while (end < sql.size() && (isWordChar(sql[end]) || sql[end] == '.')) {
        ++end;
      }
      out.append(sql.substr(pos, end - pos));
      pos = end;
      noteOther();
    } else {
      out += c;
      ++pos;
      if (std::isspace(static_cast<unsigned char>(c)) == 0) {
        noteOther();
      }
    }
  }
  return result;
}

}  // namespace athup::store
