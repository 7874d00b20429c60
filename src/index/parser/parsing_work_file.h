#pragma once

#include <filesystem>
#include <string_view>

// The work file of a text file read as fixed-length records: a converted copy in a temporary
// folder that replaces the file when the parser closes.
namespace athup::index {

// Creates a new file "~FPxxxx.tmp" (xxxx four hexadecimal digits) in the folder holding
// `content`, trying increasing numbers until a name is free. The file is created exclusively
// (never through an existing name or link) and private (0600). Raises athup::Error
// 無法建立FileParsing暫存檔. when no name is left or the file cannot be made.
[[nodiscard]] std::filesystem::path createWorkFile(const std::filesystem::path& folder,
                                                   std::string_view content);

// Puts the work file's content in place of the target through the atomic writer, so the target
// is never lost: when anything fails it is left as it was and athup::Error
// 無法寫回指定的檔案"<target>". is raised.
void replaceWithWorkFile(const std::filesystem::path& target, const std::filesystem::path& work);

}  // namespace athup::index
