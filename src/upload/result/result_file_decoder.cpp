#include "upload/result/result_file_decoder.h"

#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

#include "common/atomic_file.h"
#include "common/big5.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/private_folder.h"
#include "common/stale_temporary_files.h"
#include "common/text_helpers.h"
#include "common/whole_file.h"
#include "security/archive/inflate_file.h"
#include "security/cipher/crypt_file.h"
#include "security/codecs/base64.h"
#include "upload/scoped_work_files.h"

namespace athup::upload {
namespace {

namespace fs = std::filesystem;

// The lines of a Big5 text; CR LF, a lone CR and a lone LF each end a line.
std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

// The header (the last header line counts) and the status lines of a Big5 result text.
DecodedResult readResultText(std::string_view big5Text) {
  DecodedResult result;
  for (const auto line : splitLines(big5Text)) {
    const std::string utf8 = common::big5ToUtf8(line);
    if (isHeaderLine(utf8)) {
      result.header = parseHeaderLine(utf8);
    } else if (isStatusLine(utf8)) {
      result.statusLines.push_back(utf8);
    }
  }
  return result;
}

// Every line of the text followed by CR LF, as the receipt file keeps it.
std::string receiptText(std::string_view big5Text) {
  std::string text;
  for (const auto line : splitLines(big5Text)) {
    text.append(line);
    text.append("\r\n");
  }
  return text;
}

void writeReceiptFile(std::string_view big5Text, std::string_view ban, std::string_view applyYM,
                      const fs::path& reportFolder) {
  common::createPrivateFolder(reportFolder);
  const fs::path plain = reportFolder / common::pathFromUtf8(std::string(ban) + ".dprn");
  const ScopedWorkFiles removed({plain});
  common::writeFileAtomically(plain, receiptText(big5Text));
  security::cryptFileWithPassword(plain, receiptFilePath(reportFolder, ban, applyYM),
                                  security::CryptMode::Encrypt, ban);
}

}  // namespace

fs::path receiptFilePath(const fs::path& reportFolder, std::string_view ban,
                         std::string_view applyYM) {
  return reportFolder / common::pathFromUtf8(std::string(ban) + std::string(applyYM) + ".prn");
}

DecodedResult decodeResultList(std::string_view base64List, std::string_view ban,
                               std::string_view applyYM, const ResultFilePlaces& places) {
  // An answer without a "list" carries no result file: nothing to decode, nothing to keep.
  if (common::trimBlanks(base64List).empty()) return {};
  // The working files lie in a folder of this decoding's own, so queries for other taxpayers at
  // the same time never overwrite them; it goes with everything in it.
  const common::PrivateTempFolder work(common::kWorkFolderPrefix, places.workFolder);
  const fs::path b64 = work.path() / "_FQuery.b64";
  const fs::path zip = work.path() / "_FQuery.zip";
  const fs::path dat = work.path() / "_FQuery.dat";
  common::writeFileAtomically(b64, std::string(base64List) + "\r\n");
  {
    std::ifstream in(b64, std::ios::binary);
    if (!in) throw Error("檔案讀取失敗");
    common::AtomicFile out(zip);
    std::ostringstream bytes;
    security::base64DecodeStream(in, bytes);
    out.write(bytes.str());
    out.commit();
  }
  security::inflateFile(zip, dat);
  const std::string text = common::readWholeFile(dat);

  DecodedResult result = readResultText(text);
  if (result.header.status == "0") {
    writeReceiptFile(text, ban, applyYM, places.reportFolder);
    result.receiptFile = receiptFilePath(places.reportFolder, ban, applyYM);
  }
  return result;
}

DecodedResult decodeReceiptFile(const fs::path& receiptFile, std::string_view ban,
                                std::string_view applyYM) {
  const fs::path plain = receiptFile.parent_path() /
                         common::pathFromUtf8(std::string(ban) + std::string(applyYM) + ".dprn");
  const ScopedWorkFiles removed({plain});
  security::cryptFileWithPassword(receiptFile, plain, security::CryptMode::Decrypt, ban);
  return readResultText(common::readWholeFile(plain));
}

}  // namespace athup::upload
