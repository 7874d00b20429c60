#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "upload/result/result_records.h"

namespace athup::upload {

// Where decoding works and keeps what it keeps.
struct ResultFilePlaces {
  std::filesystem::path workFolder;    // the program's TMP folder: "_FQuery.b64", ".zip", ".dat"
  std::filesystem::path reportFolder;  // gReportPath: the receipt files of the period
};

// A decoded result file: the last header line and the status lines, whole, in file order (UTF-8).
struct DecodedResult {
  ResultHeader header;
  std::vector<std::string> statusLines;
  std::optional<std::filesystem::path> receiptFile;  // set when this decoding wrote it
};

// gReportPath + BAN + gApplyYM + ".prn".
[[nodiscard]] std::filesystem::path receiptFilePath(const std::filesystem::path& reportFolder,
                                                    std::string_view ban, std::string_view applyYM);

// The "list" of a query or pre-upload answer: base64 of a zlib stream of the Big5 result file.
// With header status "0" the text is kept, encrypted with the BAN, as the receipt file. The
// working files are removed in every case. Text that is not base64 and zlib raises athup::Error
// with the decompression error.
[[nodiscard]] DecodedResult decodeResultList(std::string_view base64List, std::string_view ban,
                                             std::string_view applyYM,
                                             const ResultFilePlaces& places);

// A stored receipt file, decrypted with the BAN beside it as BAN + gApplyYM + ".dprn", read and
// removed again in every case. Never writes a receipt file. A file that does not decrypt raises
// athup::Error with the cipher's message.
[[nodiscard]] DecodedResult decodeReceiptFile(const std::filesystem::path& receiptFile,
                                              std::string_view ban, std::string_view applyYM);

}  // namespace athup::upload
