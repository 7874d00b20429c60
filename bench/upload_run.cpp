// The upload run against the filing-server simulator on loopback: 200 documents of 50 KiB (and
// the index document) through UploadRun, against libcurl alone doing what the run's transfers
// do for the same pre-encrypted files, a version GET and a multipart POST each, in the same run.
// A run with one 10 MiB document reports the growth of the peak resident set it caused.
#include "upload/run/upload_run.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "common/clock.h"
#include "filing_server/filing_server.h"
#include "security/archive/archive.h"
#include "security/cipher/upload_cipher.h"
#include "security/codecs/base64.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/engine/database.h"
#include "upload/certificate_port.h"

namespace {

using namespace athup;
namespace fs = std::filesystem;

const std::string kBan = "12345678";
const std::string kPeriod = "11304";
const std::string kPassword = "test1234";

class QuietInteraction final : public DecliningInteraction {
 public:
  void showMessage(MessageKind, const std::string& text, const std::string&) override {
    last = text;
  }
  void showStatus(StatusKind, const std::string&) override {}
  std::string last;
};

class AccountCertificate final : public upload::CertificatePort {
 public:
  void chooseCertType() override {}
  const std::string& certType() const override { return m_type; }
  const std::string& certPassword() const override { return kPassword; }
  std::optional<std::string> makeSeal(std::string_view text, const std::string&) override {
    return security::base64Line(text);
  }
  std::optional<std::string> makeUploadSeal(std::string_view text) override {
    return security::base64Line(text);
  }

 private:
  std::string m_type = "1";
};

// A workstation with one taxpayer whose documents are assigned, beside a running simulator.
struct Workstation {
  explicit Workstation(const std::string& name) {
    folder = fs::temp_directory_path() /
             ("athup-bench-" + name + "-" + std::to_string(static_cast<long>(::getpid())));
    fs::create_directories(folder / "DB" / "CODE");
    fs::create_directories(folder / "DB" / kPeriod);
    fs::create_directories(folder / "TMP");
    fs::create_directories(folder / "docs");
    filing_server::ServerOptions options;
    options.caFile = folder / "ca.pem";
    options.storeDir = folder / "store";
    options.dailyMaximum = 999;
    server = std::make_unique<filing_server::FilingServer>(options);
    server->start();
    orbCode.open("ORBCODE", folder / "DB" / "CODE");
    orbWin.open("ORBWIN", folder / "DB" / kPeriod);
    for (const auto table : store::codeFolderTables())
      store::createFilingProgramTable(orbCode, table);
    store::createFilingProgramTable(orbWin, store::kLastUploadTable);
    (void)store::preparePeriodTables(orbWin, store::CatalogueLog{folder / "tables.log", clock});
    store::migrateOwnTables(orbWin);
    orbWin.execute(
        "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, T02_CRC, UPD_SUCCESS_NO) VALUES "
        "(:B, :P, '1A2B3C', 'A1234567')",
        {{"B", kBan}, {"P", kPeriod}});
  }
  ~Workstation() {
    orbWin.close();
    orbCode.close();
    server->stop();
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  fs::path addDocument(int number, std::size_t size) {
    char seq[16];
    std::snprintf(seq, sizeof seq, "T02%06d", number);
    const std::string name = "doc" + std::to_string(number);
    const fs::path path = folder / "docs" / (name + ".pdf");
    std::string bytes(size, '\0');
    unsigned state = static_cast<unsigned>(number) * 2654435761U;
    for (char& c : bytes) c = static_cast<char>((state = state * 1103515245U + 12345U) >> 24);
    std::ofstream(path, std::ios::binary) << bytes;
    orbWin.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ, T02_CRC) VALUES (:B, :S, '1A2B3C')",
                   {{"B", kBan}, {"S", std::string(seq)}});
    orbWin.execute(
        "INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ, SUB_SEQ, FILE_NM, FILE_SUB_NM, FILE_PATH_NM, "
        "FILE_SIZE, FILE_TP, FILE_CRC) VALUES (:B, :S, '0', :N, 'pdf', :P, :Z, 'T02', :C)",
        {{"B", kBan},
         {"S", std::string(seq)},
         {"N", name},
         {"P", path.string()},
         {"Z", static_cast<double>(size)},
         {"C", security::FileChecksumCalculator().checksumText(path)}});
    return path;
  }

  upload::FilingContext context() const {
    upload::FilingContext c;
    c.period = kPeriod;
    c.version = "105";
    c.versionDate = "1080315";
    c.endpoints.queryUrl = server->baseUrl() + "/orbatt/orbAttachQuery";
    c.endpoints.uploadUrl = server->baseUrl() + "/orbatt/orbAttachUpload";
    c.endpoints.clientVersionUrl = server->baseUrl() + "/orbatt/ClientVersion.jsp";
    c.transport.caFile = folder / "ca.pem";
    c.programFolder = folder;
    c.workFolder = folder / "TMP";
    c.backupFolder = folder / "backup";
    c.reportFolder = folder / "report";
    c.clock = &clock;
    return c;
  }

  bool runOnce() {
    QuietInteraction ui;
    AccountCertificate certificate;
    upload::UploadRun run(ui, certificate, context(), orbWin, orbCode);
    return run.runUpload(kBan).completed();
  }

  SystemClock clock;
  fs::path folder;
  std::unique_ptr<filing_server::FilingServer> server;
  store::Database orbWin;
  store::Database orbCode;
};

constexpr int kDocuments = 200;
constexpr std::size_t kDocumentSize = 50 * 1024;

void uploadRun(benchmark::State& state) {
  Workstation station("run");
  for (int i = 1; i <= kDocuments; ++i) (void)station.addDocument(i, kDocumentSize);
  for (auto _ : state) {
    if (!station.runOnce()) state.SkipWithError("the run did not complete");
  }
  state.SetItemsProcessed(state.iterations() * (kDocuments + 1));
}

size_t collect(char* data, size_t size, size_t count, void* user) {
  static_cast<std::string*>(user)->append(data, size * count);
  return size * count;
}

// One file as the run sends it: its fields and encrypted bytes, made once.
struct Prepared {
  std::vector<std::pair<std::string, std::string>> fields;
  std::string seal;
  std::string enpName;
  std::string enp;
};

void rawLibcurl(benchmark::State& state) {
  Workstation station("curl");
  CURL* curl = curl_easy_init();
  const std::string ca = (station.folder / "ca.pem").string();
  std::string answer;
  // A serial for the files, from one pre-upload request.
  const std::string body =
      "ban=" + kBan + "&certtp=1&passwd=" + kPassword +
      "&version=1.05&versionDate=1080315&ostp=Linux&clientIp=127.0.0.1"
      "&yearMon=" +
      kPeriod + "&isNew=Y&seal=" +
      security::base64Line("20240501093015," + kBan + "," + kPeriod + ",A1234567,1A2B3C,");
  curl_easy_setopt(curl, CURLOPT_URL, station.context().endpoints.queryUrl.c_str());
  curl_easy_setopt(curl, CURLOPT_CAINFO, ca.c_str());
  curl_easy_setopt(curl, CURLOPT_PROXY, "");
  curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.c_str());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &collect);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
  (void)curl_easy_perform(curl);
  const auto start = answer.find("<Data Name=\"updserial\">");
  const std::string serial =
      start == std::string::npos
          ? ""
          : answer.substr(start + 23, answer.find('<', start + 23) - start - 23);

  std::vector<Prepared> files;
  for (int i = 1; i <= kDocuments; ++i) {
    const fs::path document = station.addDocument(i, kDocumentSize);
    const std::string name = "doc" + std::to_string(i);
    const fs::path zip = station.folder / "TMP" / (name + ".zip");
    security::Archive archive;
    archive.setCompressionLevel(security::CompressionLevel::Maximum);
    archive.create(zip);
    archive.addFile(document);
    archive.close();
    security::UploadCipher cipher;
    cipher.setPassword(kBan);
    cipher.encryptFile(zip);
    fs::remove(zip);
    Prepared file;
    file.seal = security::base64Line("20240501093016," + kBan + "," + kPeriod +
                                     ",A1234567,1A2B3C,," + name + ",pdf");
    file.enpName = name + ".enp";
    file.enp = cipher.resultText();
    char seq[8];
    std::snprintf(seq, sizeof seq, "%04d", i);
    file.fields = {{"ban", kBan},
                   {"certtp", "1"},
                   {"passwd", kPassword},
                   {"version", "1.05"},
                   {"versionDate", "1080315"},
                   {"osTp", "Linux"},
                   {"clientIp", "127.0.0.1"},
                   {"yearMon", kPeriod},
                   {"seal", file.seal},
                   {"updSerial", serial},
                   {"fileCd", "02"},
                   {"fileNum1", seq},
                   {"fileNum2", "00"},
                   {"fileNo", std::to_string(i)},
                   {"fileTotal", std::to_string(kDocuments)},
                   {"status", "I"},
                   {"fileName", name},
                   {"fileSubName", "pdf"},
                   {"fileSize", std::to_string(kDocumentSize)},
                   {"compressSize", std::to_string(file.enp.size())},
                   {"crc", security::FileChecksumCalculator().checksumText(document)}};
    files.push_back(std::move(file));
  }
  const std::string versionUrl = station.context().endpoints.clientVersionUrl;
  const std::string uploadUrl = station.context().endpoints.uploadUrl;
  curl_slist* headers = curl_slist_append(nullptr, "Expect:");
  for (auto _ : state) {
    for (const Prepared& file : files) {
      curl_easy_reset(curl);
      curl_easy_setopt(curl, CURLOPT_CAINFO, ca.c_str());
      curl_easy_setopt(curl, CURLOPT_PROXY, "");
      curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &collect);
      curl_easy_setopt(curl, CURLOPT_WRITEDATA, &answer);
      answer.clear();
      curl_easy_setopt(curl, CURLOPT_URL, versionUrl.c_str());
      if (curl_easy_perform(curl) != CURLE_OK) state.SkipWithError("no version page");
      curl_mime* mime = curl_mime_init(curl);
      for (const auto& [name, value] : file.fields) {
        curl_mimepart* part = curl_mime_addpart(mime);
        curl_mime_name(part, name.c_str());
        curl_mime_data(part, value.data(), value.size());
      }
      curl_mimepart* seal = curl_mime_addpart(mime);
      curl_mime_name(seal, "seal");
      curl_mime_data(seal, file.seal.data(), file.seal.size());
      curl_mimepart* part = curl_mime_addpart(mime);
      curl_mime_name(part, "uploadFile");
      curl_mime_filename(part, file.enpName.c_str());
      curl_mime_data(part, file.enp.data(), file.enp.size());
      curl_easy_setopt(curl, CURLOPT_URL, uploadUrl.c_str());
      curl_easy_setopt(curl, CURLOPT_MIMEPOST, mime);
      curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
      answer.clear();
      if (curl_easy_perform(curl) != CURLE_OK || answer.find("<Code>0</Code>") == std::string::npos)
        state.SkipWithError("upload refused");
      curl_mime_free(mime);
    }
  }
  state.SetItemsProcessed(state.iterations() * kDocuments);
  curl_slist_free_all(headers);
  curl_easy_cleanup(curl);
}

long peakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Runs first, so the peak it reports is its own.
void tenMiBDocumentPeak(benchmark::State& state) {
  Workstation station("peak");
  (void)station.addDocument(1, 10 * 1024 * 1024);
  const long before = peakKiB();
  for (auto _ : state) {
    if (!station.runOnce()) state.SkipWithError("the run did not complete");
  }
  state.counters["peak_growth_KiB"] = static_cast<double>(peakKiB() - before);
  state.counters["peak_KiB"] = static_cast<double>(peakKiB());
}

BENCHMARK(tenMiBDocumentPeak)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(uploadRun)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(rawLibcurl)->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
