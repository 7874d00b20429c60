#include "index/flows/index_checks.h"

#include <filesystem>
#include <system_error>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/text_helpers.h"
#include "index/import/filing_file_lookup.h"
#include "index/import/index_file_reader.h"
#include "security/codecs/file_checksum.h"
#include "store/queries/category_queries.h"
#include "store/queries/index_queries.h"
#include "store/queries/last_upload_queries.h"

namespace athup::index {

namespace {

constexpr const char* kBreak = "\n";

std::string zeroRateQuestion() {
  const std::string br = kBreak;
  return "]--營業稅有申報上傳零稅率銷售額資料，但尚未設定「非經海關之零稅率銷售額」" + br +
         "附件上傳檔案" + br + br + "1.若無申報屬「非經海關之零稅率銷售額」者，按〔Yes〕後，" + br +
         "　選擇申報上傳的零稅率資料檔(BAN.T02)存放位置，" + br +
         "　程式確認無誤後將繼續執行上傳。" + br + br +
         "2.若要設定上傳「非經海關之零稅率銷售額」附件檔案者，請按" + br +
         "　〔Cancel〕後，回步驟1設定附件清單索引後，重新執行上傳。";
}

}  // namespace

IndexChecks::IndexChecks(Interaction& interaction, store::Database& orbWin,
                         store::Database& orbCode, std::string period)
    : m_interaction(interaction),
      m_orbWin(orbWin),
      m_orbCode(orbCode),
      m_period(std::move(period)) {}

void IndexChecks::fail(const std::string& ban, const std::string& text) {
  m_interaction.showMessage(MessageKind::Plain, "統編[" + ban + text);
}

bool IndexChecks::checkIndexAgainstLastUpload(const std::string& ban) {
  store::IndexQueries index(m_orbWin);
  store::LastUploadQueries lastUpload(m_orbWin);
  for (const char* type : {"T02", "T08", "TET"}) {
    const auto crcs = index.indexCrcs(ban, type);
    if (crcs.size() > 1) {
      fail(ban, "]--附件資料登錄有誤，請重新設定!");
      return false;
    }
    const std::string indexCrc = crcs.empty() ? std::string() : crcs.front();
    const std::string uploadCrc = lastUpload.firstUploadCrc(ban, type);
    const std::string t(type);
    if (!indexCrc.empty() && !uploadCrc.empty() && indexCrc != uploadCrc) {
      fail(ban, "]--附件資料登錄資料的來源檔(BAN." + t + ")非前次上傳申報的檔案，請重新設定!");
      return false;
    }
    if (t == "T02") {
      if (!indexCrc.empty() && uploadCrc.empty()) {
        fail(ban,
             "]--營業稅未申報上傳零稅率資料(BAN.T02)，但本次附件上傳有相關附件檔案，請取消設定後"
             "重新執行上傳!");
        return false;
      }
      if (indexCrc.empty() && !uploadCrc.empty() && !confirmZeroRate(ban)) {
        return false;
      }
    } else if (t == "T08") {
      if (!indexCrc.empty() && uploadCrc.empty()) {
        fail(ban,
             "]--營業稅未申報上傳固定資產退稅清單的資料(BAN.T08)，但本次附件上傳有相關附件檔案，"
             "請取消設定後重新執行上傳!");
        return false;
      }
      if (indexCrc.empty() && !uploadCrc.empty()) {
        fail(ban,
             "]--營業稅有申報上傳固定資產退稅清單的資料，但本次附件上傳無相關附件檔案，請設定後"
             "重新執行上傳!");
        return false;
      }
    }
  }
  return true;
}

bool IndexChecks::confirmZeroRate(const std::string& ban) {
  if (m_interaction.ask(MessageKind::Information, "統編[" + ban + zeroRateQuestion(), {},
                        Buttons::YesCancel) != Answer::Yes) {
    return false;
  }
  const std::optional<std::string> folder =
      m_chooseFolder ? m_chooseFolder()
                     : m_interaction.chooseFolder("選擇申報資料檔案存放路徑", {});
  if (!folder || folder->empty()) {
    return false;
  }
  const auto file = findFilingFile(*folder, ban + ".T02");
  if (!file) {
    fail(ban, "]--選擇的路徑下無相關申報檔");
    return false;
  }
  if (store::LastUploadQueries(m_orbWin).compareWithLastUpload(ban, "T02", *file, m_period) !=
      store::LastUploadMatch::Matches) {
    fail(ban, "]--選擇的檔案非申報上傳的BAN.T02檔，請重新選擇");
    return false;
  }
  if (countUnclearedT02Lines(*file) > 0) {
    fail(ban, "]--請回到步驟1 設定附件清單索引後，重新執行上傳");
    return false;
  }
  return true;
}

bool IndexChecks::allRowsHaveFiles(std::string_view ban) {
  return store::IndexQueries(m_orbWin).allRowsHaveFiles(ban);
}

std::string IndexChecks::checkAttachedFiles(std::string_view ban) {
  store::IndexQueries index(m_orbWin);
  store::CategoryQueries categories(m_orbCode);
  security::FileChecksumCalculator checksum;
  for (const char* type : {"T02", "T08", "TET"}) {
    store::ResultSet rows = index.attachedFiles(ban, type);
    if (rows.empty()) {
      continue;
    }
    const std::string name = categories.categoryName(type);
    for (rows.first(); !rows.eof(); rows.next()) {
      const std::string path = common::trimBlanks(rows.text("FILE_PATH_NM"));
      const auto file = common::pathFromUtf8(path);
      std::error_code error;
      if (!std::filesystem::is_regular_file(file, error)) {
        return "附件清單中，" + name + "的檔案：" + path + " 不存在，" + kBreak + "請重新設定．";
      }
      std::string actual;
      try {
        actual = checksum.checksumText(file);
      } catch (const Error&) {
        // A document that exists but cannot be read is no longer the one assigned.
        actual.clear();
      }
      if (actual != common::trimBlanks(rows.text("FILE_CRC"))) {
        return "附件清單中，" + name + "的檔案：" + path + " 內容已被更改，" + kBreak +
               "請重新設定．";
      }
    }
  }
  return {};
}

bool IndexChecks::runAll(const std::string& ban) {
  if (!checkIndexAgainstLastUpload(ban)) {
    return false;
  }
  if (!allRowsHaveFiles(ban)) {
    m_interaction.showMessage(MessageKind::Plain, kIncompleteMessage);
    return false;
  }
  const std::string problem = checkAttachedFiles(ban);
  if (!problem.empty()) {
    m_interaction.showMessage(MessageKind::Plain, problem);
    return false;
  }
  return true;
}

}  // namespace athup::index
