#include "upload/run/upload_run.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <utility>

#include "common/ascii.h"
#include "common/big5.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "common/private_folder.h"
#include "common/run_log.h"
#include "common/stale_temporary_files.h"
#include "common/text_helpers.h"
#include "common/workstation.h"
#include "security/archive/archive.h"
#include "security/cipher/upload_cipher.h"
#include "security/codecs/file_checksum.h"
#include "store/queries/index_queries.h"
#include "upload/query/filing_request.h"
#include "upload/run/upload_fields.h"
#include "upload/scoped_work_files.h"
#include "upload/tax_communication.h"

namespace athup::upload {

namespace fs = std::filesystem;

namespace {

// The upload component waits this long for a connection check; uploads have no time-out.
constexpr int kCheckTimeOut = 90000;

struct Category {
  const char* code;
  const char* table;
};
constexpr Category kCategories[] = {
    {"02", "ORBDB_ATH_T02"}, {"08", "ORBDB_ATH_T08"}, {"14", "ORBDB_ATH_TET"}};

// What a run sends: the taxpayer's assigned documents and one index document per category that
// has any.
struct FileCount {
  int total = 0;
  int indexDocuments = 0;
};

FileCount countFiles(store::Database& orbWin, const std::string& ban) {
  store::IndexQueries index(orbWin);
  const std::string codes = index.categoryCodes(ban);
  FileCount count;
  count.indexDocuments = codes.empty() ? 0 : static_cast<int>(common::splitText(codes, ",").size());
  count.total = static_cast<int>(index.fileRowCount(ban)) + count.indexDocuments;
  return count;
}

// Points the run's working folder at another for a scope, and back.
class WorkFolderInUse {
 public:
  WorkFolderInUse(fs::path& workFolder, fs::path inUse)
      : m_workFolder(workFolder), m_saved(std::exchange(workFolder, std::move(inUse))) {}
  ~WorkFolderInUse() { m_workFolder = std::move(m_saved); }
  WorkFolderInUse(const WorkFolderInUse&) = delete;
  WorkFolderInUse& operator=(const WorkFolderInUse&) = delete;

 private:
  fs::path& m_workFolder;
  fs::path m_saved;
};

}  // namespace

struct UploadRun::Run {
  std::string ban;
  UploadSerial serial;
  int done = 0;
  int total = 0;
  int indexDocuments = 0;
  bool checked = false;
  std::uint64_t bytesSent = 0;
  std::string osText;
  std::string clientIp;
};

struct UploadRun::FileToSend {
  std::string code;
  bool indexDocument = false;
  fs::path source;  // the document, or the index document in the work folder
  std::string name;
  std::string ext;
  std::string fileNum1;
  std::string fileNum2;
  int fileNo = 0;
  std::string fileSize;
  std::string crc;
};

UploadRun::UploadRun(Interaction& interaction, CertificatePort& certificate, FilingContext context,
                     store::Database& orbWin, store::Database& orbCode, UploadSteps steps)
    : m_interaction(interaction),
      m_certificate(certificate),
      m_context(std::move(context)),
      m_orbWin(orbWin),
      m_orbCode(orbCode),
      m_steps(std::move(steps)) {}

UploadRun::~UploadRun() = default;

std::string UploadRun::stoppedMessage(int accepted) {
  return "已停止上傳，已上傳 " + std::to_string(std::max(accepted, 0)) + " 個檔案，其餘未上傳。";
}

std::string UploadRun::completedMessage(const std::string& ban) {
  return "統編( " + ban + " )傳檔完成，請至[附件上傳結果查詢]取得上傳狀態．";
}

void UploadRun::log(const std::string& text) {
  if (m_context.runLogFile.empty()) return;
  if (m_context.clock) {
    common::appendRunLog(m_context.runLogFile, text, *m_context.clock);
  } else {
    common::appendRunLog(m_context.runLogFile, text, SystemClock());
  }
}

void UploadRun::report(const Run& run, std::string currentFile) {
  if (!m_observer) return;
  UploadProgress progress;
  progress.done = run.done;
  progress.total = run.total;
  progress.indexDocuments = run.indexDocuments;
  progress.checked = run.checked;
  progress.bytesSent = run.bytesSent;
  progress.currentFile = std::move(currentFile);
  m_observer(progress);
}

void UploadRun::checkStop() const {
  if (m_stopRequested) throw StoppedByUser();
}

UploadOutcome UploadRun::run(const std::string& typedBan) {
  const std::string ban = common::trimBlanks(typedBan);
  UploadOutcome outcome;
  if (ban.empty()) {
    m_interaction.showMessage(MessageKind::Plain, kNoBanMessage);
    return outcome;
  }
  const FileCount count = countFiles(m_orbWin, ban);
  outcome.total = count.total;
  if (m_observer) {
    UploadProgress counted;
    counted.total = count.total;
    counted.indexDocuments = count.indexDocuments;
    m_observer(counted);
  }
  if (m_findTaxpayer && !m_findTaxpayer(ban)) return outcome;
  index::IndexChecks checks(m_interaction, m_orbWin, m_orbCode, m_context.period);
  if (m_chooseFolder) checks.setFolderChooser(m_chooseFolder);
  if (!checks.runAll(ban)) return outcome;
  return runUpload(ban);
}

UploadOutcome UploadRun::runUpload(const std::string& ban) {
  // This run's working files (copies, archives, sealed files, index documents, the decoded
  // result) lie in a folder of its own below TMP: runs for other taxpayers at the same time never
  // meet, the folder goes with the run, and what a crash leaves a later start removes.
  std::optional<common::PrivateTempFolder> work;
  try {
    work.emplace(common::kWorkFolderPrefix, m_context.workFolder);
  } catch (const std::exception& error) {
    m_interaction.showMessage(MessageKind::Error, error.what());
    UploadOutcome failed;
    failed.ending = UploadOutcome::Ending::Failed;
    return failed;
  }
  const WorkFolderInUse inUse(m_context.workFolder, work->path());

  Run run;
  run.ban = ban;
  const FileCount count = countFiles(m_orbWin, ban);
  run.total = count.total;
  run.indexDocuments = count.indexDocuments;
  run.checked = true;
  report(run);

  UploadOutcome outcome;
  outcome.total = run.total;
  outcome.ending = UploadOutcome::Ending::Failed;

  // The index documents go in every case, also when a file fails or the user stops.
  ScopedWorkFiles indexDocuments;
  for (const auto& category : kCategories) {
    indexDocuments.add(m_context.workFolder / (ban + "_" + category.code + ".xml"));
  }
  try {
    run.serial = m_steps.requestSerial(ban);
    if (!run.serial.ok()) {
      run.done = -1;
      report(run);
      outcome.done = -1;
      return outcome;
    }
    checkStop();
    (void)m_steps.writeIndexDocuments(ban, m_context.workFolder, run.serial.serial,
                                      run.serial.uploadDate);
    const std::string backup =
        common::withTrailingSeparator(common::utf8FromPath(m_context.backupFolder / ban));
    std::error_code error;
    if (fs::is_directory(common::pathFromUtf8(backup), error)) {
      (void)common::deleteFilesInFolder(backup, "");
    }

    run.osText = common::osVersionText();
    run.clientIp = common::localIpText();
    m_communication = std::make_unique<TaxCommunication>(m_context.transport);
    m_communication->fileUpload().setAbortCheck([this] { return m_stopRequested.load(); });

    for (const auto& category : kCategories) sendCategory(run, category.code, category.table);
    outcome.ending = UploadOutcome::Ending::Completed;
    outcome.done = run.done;
    m_communication.reset();
    m_interaction.showMessage(MessageKind::Plain, completedMessage(ban));
    return outcome;
  } catch (const StoppedByUser&) {
    outcome.ending = UploadOutcome::Ending::Stopped;
    outcome.done = run.done;
    m_communication.reset();
    m_interaction.showMessage(MessageKind::Information, stoppedMessage(run.done));
    return outcome;
  } catch (const SilentAbort&) {
  } catch (const std::exception& error) {
    // Errors of the engine, the cipher or the file system: their text says what failed.
    m_interaction.showMessage(MessageKind::Error, error.what());
  }
  m_communication.reset();
  outcome.done = run.done;
  return outcome;
}

void UploadRun::sendCategory(Run& run, const std::string& code, const std::string& table) {
  store::ResultSet rows =
      m_orbWin.query("SELECT * FROM " + table + " A, ORBDB_ATH_FILE B " +
                         " WHERE A.BAN = B.BAN AND A.FILE_SEQ= B.FILE_SEQ " + " AND A.BAN = :BAN" +
                         // The engine gives no order: index lines in turn, each with its documents
                         // in the order they were assigned.
                         " ORDER BY A.FILE_SEQ, CAST(B.SUB_SEQ AS INTEGER)",
                     {{"BAN", run.ban}});
  if (rows.empty()) return;
  int fileNo = 1;
  for (rows.first(); !rows.eof(); rows.next()) {
    checkStop();
    FileToSend file;
    file.code = code;
    file.source = common::pathFromUtf8(common::trimBlanks(rows.text("FILE_PATH_NM")));
    file.name = common::trimBlanks(rows.text("FILE_NM"));
    file.ext = common::trimBlanks(rows.text("FILE_SUB_NM"));
    file.fileNum1 = fileNumberOfSequence(common::trimBlanks(rows.text("FILE_SEQ")));
    file.fileNum2 = fileNumberOfSubSequence(common::trimBlanks(rows.text("SUB_SEQ")));
    file.fileNo = fileNo;
    file.fileSize = rows.text("FILE_SIZE");
    file.crc = rows.text("FILE_CRC");
    sendFile(run, file);
    ++fileNo;
  }
  checkStop();
  FileToSend index;
  index.code = code;
  index.indexDocument = true;
  index.name = run.ban + "_" + code;
  index.ext = "xml";
  index.source = m_context.workFolder / (index.name + ".xml");
  index.fileNo = static_cast<int>(rows.recordCount()) + 1;
  sendFile(run, index);
}

void UploadRun::sendFile(Run& run, const FileToSend& file) {
  if (!file.indexDocument) {
    std::error_code error;
    if (!fs::is_regular_file(file.source, error)) {
      m_interaction.showMessage(MessageKind::Plain,
                                "上傳中止, 因為找不到檔案:" + common::utf8FromPath(file.source));
      throw SilentAbort();
    }
  }
  report(run, file.name + "." + file.ext);
  const fs::path work = m_context.workFolder / common::pathFromUtf8(file.name);
  ScopedWorkFiles workFiles;
  workFiles.add(fs::path(work).concat(".enp"));
  workFiles.add(fs::path(work).concat(".zip"));
  workFiles.add(fs::path(work).concat("." + file.ext));
  std::exception_ptr failure;
  try {
    transfer(run, file);
  } catch (...) {
    failure = std::current_exception();
  }
  backUp(run, file);
  if (failure) std::rethrow_exception(failure);
}

void UploadRun::transfer(Run& run, const FileToSend& file) {
  const fs::path work = m_context.workFolder / common::pathFromUtf8(file.name);
  const fs::path copy = fs::path(work).concat("." + file.ext);
  const fs::path zip = fs::path(work).concat(".zip");
  const fs::path enp = fs::path(work).concat(".enp");
  if (!file.indexDocument) {
    fs::copy_file(file.source, copy, fs::copy_options::overwrite_existing);
    fs::permissions(copy, fs::perms::owner_read | fs::perms::owner_write);
  }
  try {
    std::error_code ignored;
    fs::remove(zip, ignored);
    security::Archive archive;
    archive.setCompressionLevel(security::CompressionLevel::Maximum);
    archive.setCheckCrc(true);
    archive.create(zip);
    archive.addFile(copy);
    archive.close();
  } catch (const Error&) {
    // A failed packing is not reported by itself: the encryption below fails on the missing
    // archive and shows why.
  }
  security::UploadCipher cipher;
  cipher.setPassword(run.ban);
  cipher.encryptFile(zip);
  cipher.saveResult(enp);

  UploadFileFields fields;
  fields.ban = run.ban;
  fields.certType = m_certificate.certType();
  fields.password = m_certificate.certPassword();
  fields.version = versionForServer(m_context.version);
  fields.versionDate = m_context.versionDate;
  fields.osText = run.osText;
  fields.clientIp = run.clientIp;
  fields.yearMon = m_context.period;
  fields.serial = run.serial.serial;
  fields.fileCd = file.code;
  fields.fileNum1 = file.fileNum1;
  fields.fileNum2 = file.fileNum2;
  fields.fileNo = file.fileNo;
  fields.fileTotal = run.total;
  fields.fileName = file.name;
  fields.fileSubName = file.ext;
  if (file.indexDocument) {
    fields.fileSize = std::to_string(common::fileSizeOf(common::utf8FromPath(copy)));
    fields.crc = security::FileChecksumCalculator().checksumText(copy);
  } else {
    fields.fileSize = file.fileSize;
    fields.crc = file.crc;
  }
  fields.compressSize = common::fileSizeOf(common::utf8FromPath(enp));

  // The six values of the request seal, the time taken anew, then the file's name and extension.
  const std::string sealText =
      FilingRequest(m_context, m_orbWin, m_certificate, m_interaction).sealText(run.ban) + "," +
      file.name + "," + file.ext;
  const std::optional<std::string> seal =
      m_certificate.makeUploadSeal(common::utf8ToBig5(sealText));
  if (!seal) throw SilentAbort();  // the card has said why it did not sign
  fields.seal = *seal;

  TaxCommunication& communication = *m_communication;
  communication.fileUpload().setTimeOuts(kCheckTimeOut, false, 0);
  communication.sendFile(uploadFieldLines(fields), common::utf8FromPath(enp),
                         m_context.endpoints.clientVersionUrl, true, ResultKind::Document,
                         fields.seal, m_context.proxyText, m_context.endpoints.uploadUrl);
  const ResultSlots& slots = communication.slots();
  if (!slots.resultDoc) {
    if (m_stopRequested) throw StoppedByUser();  // the transfer was broken off on purpose
    if (!slots.parseError.empty()) {
      m_interaction.showMessage(MessageKind::Plain, slots.parseError);
    }
    if (!slots.errorText.empty()) {
      log("<附件檔案上傳失敗>:" + slots.errorText);
      m_interaction.showMessage(MessageKind::Plain, slots.errorText);
    } else {
      log("<附件檔案上傳失敗>:資料傳輸失敗");
      m_interaction.showMessage(MessageKind::Plain, kTransferFailedMessage);
    }
    throw SilentAbort();
  }
  const ResponseDocument& answer = *slots.resultDoc;
  log("附件檔案上傳回傳代碼:" + answer.code());
  log("附件檔案上傳回傳時間:" + answer.date());
  log("附件檔案上傳回傳訊息:" + answer.msg());
  if (answer.code() != "0") {
    run.done = -1;
    report(run);
    m_interaction.showMessage(MessageKind::Plain, answer.msg());
    log("<附件檔案上傳失敗>:" + answer.msg());
    throw SilentAbort();
  }
  ++run.done;
  run.bytesSent += fields.compressSize;
  const auto third = answer.dataAt(2);
  log("附件檔案上傳回傳檔案名稱:" + (third ? third->second : std::string()));
  log("< 上傳成功>:" + answer.msg());
  report(run);
}

void UploadRun::backUp(Run& run, const FileToSend& file) {
  const fs::path folder = m_context.backupFolder / common::pathFromUtf8(run.ban);
  std::error_code error;
  if (!fs::is_directory(folder, error)) {
    try {
      common::createPrivateFolder(folder);
    } catch (const Error&) {
      m_interaction.showMessage(MessageKind::Error,
                                "無法建立附件上傳備份目錄\"" +
                                    common::withTrailingSeparator(common::utf8FromPath(folder)) +
                                    "\"！ 請確認您的磁碟機運作正常, 或該目錄尚未被設定為唯讀.");
      return;
    }
  }
  if (common::lowerAscii(file.ext) == "xml") return;
  // The document went to the server; a backup that cannot be written is not worth ending the
  // run for, and no message is foreseen for it.
  fs::copy_file(file.source, folder / common::pathFromUtf8(file.name + "." + file.ext),
                fs::copy_options::overwrite_existing, error);
}

}  // namespace athup::upload
