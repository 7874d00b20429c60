#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/interaction.h"
#include "security/codecs/file_checksum.h"
#include "store/data_module/taxpayer_record.h"
#include "store/data_module/data_module_settings.h"
#include "store/engine/database.h"

namespace athup::store {

// The main data module: one instance for the whole run, over the two aliases the main window owns
// (ORBWIN, the period's tables; ORBCODE, the code tables) and its own ATH_DB alias on the code
// folder. It offers the small lookups that the index, check, upload and receipt flows share. Every
// lookup runs its statement, reads the result and is done, so they can be called in any order.
// Texts read back are trimmed before they are compared.
class TdmATH {
 public:
  TdmATH(Database& orbWin, Database& orbCode, DataModuleSettings settings, Interaction& ui);
  TdmATH(const TdmATH&) = delete;
  TdmATH& operator=(const TdmATH&) = delete;

  // Start-up: removes stale engine lock files from the working folder, binds ATH_DB to the code
  // folder, reports each missing code table with "找不到資料檔:" + path (and goes on), checks
  // that the taxpayer master opens (the engine's error when it does not), and creates the
  // temporary folder, showing "無法建立暫存檔目錄" when it cannot.
  void DataModuleCreate();

  [[nodiscard]] Database& orbWin() { return m_orbWin; }
  [[nodiscard]] Database& orbCode() { return m_orbCode; }
  [[nodiscard]] Database& athDb() { return m_athDb; }
  [[nodiscard]] const DataModuleSettings& settings() const { return m_settings; }
  [[nodiscard]] const std::string& proxyHost() const { return m_settings.proxyIp; }
  [[nodiscard]] const std::string& proxyPort() const { return m_settings.proxyPort; }
  // exeDir / "TMP", where index documents and archives are packed.
  [[nodiscard]] std::filesystem::path tempFolder() const;
  // The file checksum calculator shared by the import, assignment and upload flows.
  [[nodiscard]] security::FileChecksumCalculator& crcCheck() { return m_crcCheck; }
  // The lines of the last result query.
  [[nodiscard]] std::vector<std::string>& resultLines() { return m_resultLines; }

  // Taxpayer master lookups. With the BAN twice in the master, the first row counts.
  [[nodiscard]] std::optional<TaxpayerRecord> FindTaxpayer(std::string_view ban);
  // The same; when nothing is found, "找不到營業人建檔資料" goes to the status bar and a box.
  [[nodiscard]] std::optional<TaxpayerRecord> FindTaxpayerOrReport(std::string_view ban);

  // CODE_NM of the category ("T02", "T08", "TET"); empty when there is none.
  [[nodiscard]] std::string CategoryName(std::string_view code);

  // Sums and counts over the assigned files. An empty (trimmed) BAN gives 0 without a query;
  // an empty fileSeq or fileTp does not restrict the sum.
  [[nodiscard]] double FileSizeTotal(std::string_view ban, std::string_view fileSeq,
                                     std::string_view fileTp);
  [[nodiscard]] double FileSizeTotalExcept(std::string_view ban, std::string_view fileSeq);
  [[nodiscard]] double FileCount(std::string_view ban, std::string_view fileTp);
  // Index rows of the type ("T02", "T08", "TET") that have no file; 0 for other types.
  [[nodiscard]] double RowsWithoutFiles(std::string_view ban, std::string_view type);

  // The last return upload of the BAN in the period.
  [[nodiscard]] std::string LastUploadCrc(std::string_view ban, std::string_view type,
                                          std::string_view period);
  [[nodiscard]] std::string LastUploadSuccessNo(std::string_view ban, std::string_view period);
  // Whether the filing file at `path` is the one uploaded with the return. On a mismatch or when
  // the return carried no such file, returns false and (when `show`) says so in a message box.
  [[nodiscard]] bool CheckAgainstLastUpload(std::string_view ban, std::string_view type,
                                            const std::filesystem::path& path, bool show,
                                            std::string_view period);

  // The version texts sent with the upload and result requests.
  [[nodiscard]] std::string versionNumberText() const;
  [[nodiscard]] std::string versionDateText() const { return m_settings.versionDate; }
  void inflateFile(const std::filesystem::path& source, const std::filesystem::path& destination);

 private:
  Database& m_orbWin;
  Database& m_orbCode;
  Database m_athDb;
  DataModuleSettings m_settings;
  Interaction& m_ui;
  security::FileChecksumCalculator m_crcCheck;
  std::vector<std::string> m_resultLines;
};

}  // namespace athup::store
