#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The receipt files of a filing period in the report folder: BAN + gApplyYM + ".prn".
namespace athup::receipts {

struct ReceiptFile {
  std::string ban;
  std::string fileTime;  // last write, local "yyyy-mm-dd hh:nn:ss"
};

// Whether a file name is a receipt file of the period: exactly 17 characters, the first 8
// digits, characters 9-13 the period and the extension "PRN" in any case.
[[nodiscard]] bool isReceiptFileName(std::string_view name, std::string_view applyYM);

// Whether a name matches a file mask with "*" and "?", letters compared without regard to case
// as the workstation's file system does.
[[nodiscard]] bool matchesFileMask(std::string_view name, std::string_view mask);

// The receipt files the masks find in the folder, one per BAN (the first one met), in the order
// of the masks and then of the folder's listing. Hidden files count too. A missing folder finds
// none.
[[nodiscard]] std::vector<ReceiptFile> findReceiptFiles(const std::filesystem::path& reportFolder,
                                                        const std::vector<std::string>& masks,
                                                        std::string_view applyYM);

}  // namespace athup::receipts
