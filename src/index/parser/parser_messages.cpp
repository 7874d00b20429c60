#include "index/parser/parser_messages.h"

#include "common/file_helpers.h"

namespace athup::index {

std::string pathText(const std::filesystem::path& path) {
  return common::utf8FromPath(path);
}

std::string cannotOpenFileMessage(const std::filesystem::path& fileName) {
  return "無法開啟指定的檔案\"" + pathText(fileName) + "\".";
}

std::string badFieldNameMessage(std::string_view name) {
  return "錯誤的欄位名稱\"" + std::string(name) + "\".";
}

std::string badFieldIndexMessage(int index) {
  return "錯誤的欄位索引\"" + std::to_string(index) + "\".";
}

std::string cannotCreateWorkFileMessage() {
  return "無法建立FileParsing暫存檔.";
}

std::string badFieldTypeMessage() {
  return "您僅可於TParsingFieldDef中定義欄位型態為ftString, ftWideString, ftBoolean, ftCurrency, "
         "ftDate, ftTime, ftDateTime, ftFloat, ftWord, ftSmallint, ftInteger, ftLargeInt.";
}

std::string cannotWriteBackMessage(const std::filesystem::path& fileName) {
  return "無法寫回指定的檔案\"" + pathText(fileName) + "\".";
}

}  // namespace athup::index
