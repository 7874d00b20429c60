#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The parser's user-facing texts (UTF-8).
namespace athup::index {

// 無法開啟指定的檔案"<name>".
[[nodiscard]] std::string cannotOpenFileMessage(const std::filesystem::path& fileName);
// 錯誤的欄位名稱"<name>".
[[nodiscard]] std::string badFieldNameMessage(std::string_view name);
// 錯誤的欄位索引"<index>".
[[nodiscard]] std::string badFieldIndexMessage(int index);
// 無法建立FileParsing暫存檔.
[[nodiscard]] std::string cannotCreateWorkFileMessage();
// The accepted field types.
[[nodiscard]] std::string badFieldTypeMessage();
// 無法寫回指定的檔案"<name>". — the converted work file could not replace the file; the file
// itself is left as it was.
[[nodiscard]] std::string cannotWriteBackMessage(const std::filesystem::path& fileName);

// The path as UTF-8 text, as the user gave it.
[[nodiscard]] std::string pathText(const std::filesystem::path& path);

}  // namespace athup::index
