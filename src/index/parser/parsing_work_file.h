#pragma once

#include <filesystem>

// The work file of a text file read as fixed-length records: a converted copy in a temporary
// folder that replaces the file when the parser closes.
namespace athup::index {

// Creates a new empty file "~FPxxxx.tmp" (xxxx four hexadecimal digits) in the folder, trying
// increasing numbers until a name is free. Raises athup::Error 無法建立FileParsing暫存檔. when
// no name is left or the folder takes no new file.
[[nodiscard]] std::filesystem::path createWorkFile(const std::filesystem::path& folder);

// Puts the work file's content in place of the target. The copy is written beside the target
// first and then renamed over it, so the target is never lost: when anything fails it is left
// as it was and athup::Error 無法寫回指定的檔案"<target>". is raised.
void replaceWithWorkFile(const std::filesystem::path& target, const std::filesystem::path& work);

}  // namespace athup::index
