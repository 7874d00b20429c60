// Importing a 100,000-line .T02 file into the index, against inserting the same rows into the same
// table in one transaction with one prepared statement, in the same run: the import (parse, check,
// replace in one transaction) should stay within twice the plain insert. And assigning 1,000
// documents of 100 KiB (checksum and row each), reported as documents per second.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/file_helpers.h"
#include "common/interaction.h"
#include "index/flows/assignment_flow.h"
#include "index/flows/index_import_flow.h"
#include "index/flows/upload_limit.h"
#include "security/codecs/file_checksum.h"
#include "store/catalogue/filing_program_tables.h"
#include "store/catalogue/own_tables.h"
#include "store/engine/database.h"

namespace {

namespace fs = std::filesystem;

constexpr int kLines = 100'000;
constexpr int kDocuments = 1'000;
constexpr std::size_t kDocumentSize = 100 * 1024;
constexpr const char* kBan = "12345678";
constexpr const char* kPeriod = "11302";

class Silent final : public athup::DecliningInteraction {
 public:
  void showMessage(athup::MessageKind, const std::string& text, const std::string&) override {
    last = text;
  }
  void showStatus(athup::StatusKind, const std::string&) override {}
  std::string last;
};

std::string t02Record(int n) {
  std::string amount = std::to_string(n);
  amount.insert(0, 12 - amount.size(), '0');
  std::string track = "AB" + std::to_string(10'000'000 + n);
  track.resize(10, ' ');
  return std::string(kBan) + "A123456789" + kPeriod + "11301" + track + "22222222" + "1" + "1" +
         "D5" + "AA12345678901B" + amount + "1130215" + "\r\n";
}

// A period folder with the tables, the .T02 file recorded as uploaded, and the documents.
struct Workbench {
  fs::path root;
  fs::path periodFolder;
  athup::store::Database orbWin;
  athup::store::Database orbCode;
  std::vector<std::string> documents;

  Workbench() {
    root = fs::temp_directory_path() / ("athup-bench-index-" + std::to_string(::getpid()));
    periodFolder = root / "DB" / kPeriod;
    fs::create_directories(periodFolder);
    fs::create_directories(root / "DB" / "CODE");
    fs::create_directories(root / "docs");
    orbWin.open("ORBWIN", periodFolder);
    orbCode.open("ORBCODE", root / "DB" / "CODE");
    for (const auto table : athup::store::codeFolderTables()) {
      athup::store::createFilingProgramTable(orbCode, table);
    }
    athup::store::createFilingProgramTable(orbWin, athup::store::kLastUploadTable);
    athup::SystemClock clock;
    (void)athup::store::preparePeriodTables(orbWin, {root / "run.log", clock});
    athup::store::migrateOwnTables(orbWin);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(kLines) * 85);
    for (int i = 1; i <= kLines; ++i) bytes += t02Record(i);
    const fs::path filing = root / "12345678.T02";
    std::ofstream(filing, std::ios::binary)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    orbWin.execute(
        "INSERT INTO ORBDB1_LAST_UPLOAD (BAN, DATA_YYMM_X5, T02_CRC) VALUES (:B, :P, :C)",
        {{"B", kBan},
         {"P", kPeriod},
         {"C", athup::security::FileChecksumCalculator().checksumText(filing)}});
    const std::string content(kDocumentSize, 'p');
    for (int i = 0; i < kDocuments; ++i) {
      const fs::path doc = root / "docs" / ("doc" + std::to_string(i) + ".pdf");
      std::ofstream(doc, std::ios::binary)
          .write(content.data(), static_cast<std::streamsize>(content.size()));
      documents.push_back(athup::common::utf8FromPath(doc));
    }
  }
  ~Workbench() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
  std::string folder() const { return athup::common::utf8FromPath(root) + "/"; }
};

Workbench& workbench() {
  static Workbench bench;
  return bench;
}

void BM_ImportT02(benchmark::State& state) {
  Workbench& bench = workbench();
  Silent ui;
  athup::index::IndexImportFlow flow(ui, bench.orbWin, bench.orbCode);
  for (auto _ : state) {
    if (!flow.importCategory({kBan, "T02", bench.folder(), kPeriod})) {
      state.SkipWithError(ui.last.c_str());
      return;
    }
  }
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_ImportT02)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same rows into the same table file: one transaction, one prepared statement, values bound.
void BM_PlainInsertT02(benchmark::State& state) {
  Workbench& bench = workbench();
  const fs::path file = bench.orbWin.tableFile("ORBDB_ATH_T02");
  sqlite3* db = nullptr;
  if (sqlite3_open(file.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open");
  sqlite3_exec(db, "PRAGMA synchronous=FULL", nullptr, nullptr, nullptr);
  const char* sql =
      "INSERT INTO ORBDB_ATH_T02 (BAN, HSN_CD, VAT_LOSN_X9, DATA_YYMM_X5, INVO_YM, INVO_TRACK, "
      "BUYER_BAN, EXPORT_MODE, PCTS_MODE, BILL_OF_SIGHT_TP, BILL_OF_SIGHT_NO, ZTX_S_AMT, "
      "FGN_EXCH_DATE, FILE_SEQ, ORI_DATA, T02_CRC) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)";
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db, sql, -1, &insert, nullptr);
  for (auto _ : state) {
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_exec(db, "DELETE FROM ORBDB_ATH_T02", nullptr, nullptr, nullptr);
    for (int i = 1; i <= kLines; ++i) {
      const std::string record = t02Record(i);
      const std::string seq = "T02" + std::to_string(1'000'000 + i).substr(1);
      const char* texts[] = {kBan,       "A", "123456789", kPeriod, "11301",         "AB12345678",
                             "22222222", "1", "1",         "D5",    "AA12345678901B"};
      for (int c = 0; c < 11; ++c) sqlite3_bind_text(insert, c + 1, texts[c], -1, SQLITE_TRANSIENT);
      sqlite3_bind_double(insert, 12, i);
      sqlite3_bind_text(insert, 13, "1130215", -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 14, seq.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 15, record.c_str(), 83, SQLITE_TRANSIENT);
      sqlite3_bind_text(insert, 16, "1234ABCD", -1, SQLITE_TRANSIENT);
      sqlite3_step(insert);
      sqlite3_reset(insert);
    }
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
  }
  sqlite3_finalize(insert);
  sqlite3_close(db);
  state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_PlainInsertT02)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Assign1000Documents(benchmark::State& state) {
  Workbench& bench = workbench();
  Silent ui;
  athup::index::UploadLimit::acknowledge();  // 100 MB in all: the warning is not what is measured
  athup::index::IndexImportFlow import(ui, bench.orbWin, bench.orbCode);
  if (!import.importCategory({kBan, "T02", bench.folder(), kPeriod})) {
    state.SkipWithError(ui.last.c_str());
    return;
  }
  athup::index::AssignmentFlow flow(ui, bench.orbWin, kPeriod, kBan, "T02");
  for (auto _ : state) {
    for (int i = 0; i < kDocuments; ++i) {
      std::string seq = std::to_string(1'000'000 + i + 1).substr(1);
      if (!flow.save("T02" + seq, {bench.documents[static_cast<std::size_t>(i)]})) {
        state.SkipWithError(ui.last.c_str());
        return;
      }
    }
  }
  state.counters["documents_per_second"] = benchmark::Counter(
      static_cast<double>(state.iterations()) * kDocuments, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Assign1000Documents)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
