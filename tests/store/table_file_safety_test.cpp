// Table files survive what users and machines do to them: a run killed while it prepares the
// period, a file left without its table, a folder the user may only read, a commit that fails.
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "common/atomic_file.h"
#include "common/clock.h"
#include "common/errors.h"
#include "store/catalogue/own_tables.h"
#include "store/engine/database.h"
#include "support/temp_dir.h"

namespace athup::store {
namespace {

namespace fs = std::filesystem;
using athup::testing::TempDir;

// "BAN;FILE_SEQ;..." as the current definition of the own table has it.
std::string definedFields(std::string_view table) {
  std::string fields;
  for (const auto& column : ownTableDefinition(table).columns) {
    fields += (fields.empty() ? "" : ";") + column.name;
  }
  return fields;
}

std::string fieldsOf(Database& db, std::string_view table) {
  return db.query("SELECT * FROM " + std::string(table) + " WHERE 1 = 0").fieldNamesText();
}

std::set<std::string> entriesOf(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

// Runs SQL on a file directly, as another program (or an older build) would leave it.
void rawSql(const fs::path& file, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
}

unsigned modeOf(const fs::path& file) {
  struct stat info {};
  EXPECT_EQ(::stat(file.c_str(), &info), 0);
  return info.st_mode & 0777U;
}

class TableFileSafetyTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder); }

  // The preparation as the flow runs it on a fresh connection; the files still missing.
  std::vector<fs::path> prepare() {
    Database db;
    db.open("ORBWIN", folder);
    auto missing = preparePeriodTables(db, log);
    migrateOwnTables(db);
    return missing;
  }

  // Every own table holds its current layout and no creation left a temporary file behind.
  void expectCompleteTables(const std::string& context) {
    Database db;
    db.open("ORBWIN", folder);
    for (const auto table : kOwnPeriodTables) {
      EXPECT_TRUE(db.tableExists(table)) << context << " " << table;
      EXPECT_EQ(fieldsOf(db, table), definedFields(table)) << context << " " << table;
    }
    for (const auto& name : entriesOf(folder)) {
      EXPECT_FALSE(name.starts_with(common::kTemporaryFilePrefix)) << context << " " << name;
    }
  }

  TempDir dir;
  fs::path folder = dir / "11305";
  SystemClock clock;
  CatalogueLog log{dir / "orb_Ath.log", clock};
};

TEST_F(TableFileSafetyTest, AFileWithoutItsTableIsReplacedByTheNextPreparation) {
  // What a killed creation leaves: an empty file, or a header and an empty schema (in the
  // rollback journal mode, or in the write-ahead mode older builds set).
  struct Seed {
    const char* name;
    const char* sql;  // nullptr: zero bytes
  };
  const Seed seeds[] = {
      {"zero bytes", nullptr},
      {"header only", "PRAGMA user_version = 7"},
      {"header only, write-ahead log", "PRAGMA journal_mode = WAL"},
  };
  for (const auto& seed : seeds) {
    for (const auto table : kOwnPeriodTables) {
      const std::string context = std::string(seed.name) + " " + std::string(table);
      fs::remove_all(folder);
      fs::create_directories(folder);
      ASSERT_TRUE(prepare().empty());
      const fs::path file = folder / (std::string(table) + ".DB");
      fs::remove(file);
      std::FILE* handle = std::fopen(file.c_str(), "wb");
      ASSERT_NE(handle, nullptr);
      std::fclose(handle);
      if (seed.sql != nullptr) {
        rawSql(file, seed.sql);
      }
      ::chmod(file.c_str(), 0640);
      {
        Database db;
        db.open("ORBWIN", folder);
        EXPECT_FALSE(db.tableExists(table)) << context;
      }

      EXPECT_TRUE(prepare().empty()) << context;
      expectCompleteTables(context);
      EXPECT_EQ(modeOf(file), 0640U) << context;  // a replaced file keeps its mode
    }
  }
}

TEST_F(TableFileSafetyTest, NewFilesArePrivateKeepARollbackJournalAndOnlyTablesLookLikeTables) {
  ASSERT_TRUE(prepare().empty());
  {
    Database db;
    db.open("ORBWIN", folder);
    db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('12345678')");
    EXPECT_FALSE(db.tableExists(".athup-main"));
  }
  std::set<std::string> expected = {Database::kMainFileName};
  for (const auto table : kOwnPeriodTables) {
    const fs::path file = folder / (std::string(table) + ".DB");
    expected.insert(file.filename().string());
    EXPECT_EQ(modeOf(file), 0600U) << table;
    // Bytes 18 and 19 of the header: 1 for the rollback journal, 2 for write-ahead logging.
    const std::string header = athup::testing::readFile(file).substr(0, 20);
    EXPECT_EQ(header[18], 1) << table;
    EXPECT_EQ(header[19], 1) << table;
  }
  // No journal, log or temporary file stays behind, and the main database's name cannot be read
  // as a table file.
  EXPECT_EQ(entriesOf(folder), expected);
  // The main database holds nothing; other users of a shared folder open it too.
  EXPECT_EQ(std::filesystem::file_size(folder / Database::kMainFileName), 0U);
}

TEST_F(TableFileSafetyTest, AFailedCommitLeavesThePreviousRowsOfEveryTable) {
  ASSERT_TRUE(prepare().empty());
  Database db;
  db.open("ORBWIN", folder);
  db.execute("INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ) VALUES ('11111111', 'OLD')");
  db.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ) VALUES ('11111111', 'OLD')");
  const auto seqs = [](Database& on, const char* table) {
    std::string text;
    const auto rows = on.query(std::string("SELECT FILE_SEQ FROM ") + table + " ORDER BY FILE_SEQ");
    for (std::size_t i = 0; i < rows.recordCount(); ++i) {
      text += rows.row(i).front().asText() + ";";
    }
    return text;
  };
  {
    auto transaction = db.transaction({"ORBDB_ATH_FILE", "ORBDB_ATH_T02"});
    for (const char* table : {"ORBDB_ATH_FILE", "ORBDB_ATH_T02"}) {
      db.execute(std::string("DELETE FROM ") + table);
      db.execute(std::string("INSERT INTO ") + table + " (BAN, FILE_SEQ) VALUES ('1', 'NEW')");
    }
    db.failEngineCall(1);  // the COMMIT
    EXPECT_THROW(transaction.commit(), Error);
  }
  Database other;
  other.open("OTHER", folder);
  for (Database* on : {&db, &other}) {
    EXPECT_EQ(seqs(*on, "ORBDB_ATH_FILE"), "OLD;");
    EXPECT_EQ(seqs(*on, "ORBDB_ATH_T02"), "OLD;");
  }
  // The hook fired once: the connection works again.
  auto transaction = db.transaction({"ORBDB_ATH_FILE", "ORBDB_ATH_T02"});
  db.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ) VALUES ('1', 'NEW')");
  transaction.commit();
  EXPECT_EQ(seqs(other, "ORBDB_ATH_T02"), "NEW;OLD;");
}

// The lookups of a folder the user may read but not write, run in a child process that is not
// root when the test is (root may write anywhere). Exit code 0 when everything held.
int lookupsInReadOnlyFolder(const fs::path& folder) {
  try {
    Database db;
    db.open("ORBWIN", folder);
    if (!db.isReadOnly()) return 2;
    if (!db.tableExists("ORBDB_ATH_FILE")) return 3;
    if (db.query("SELECT COUNT(*) N FROM ORBDB_ATH_FILE").number("N") != 2.0) return 4;
    const auto joined = db.query(
        "SELECT F.FILE_SEQ FROM ORBDB_ATH_FILE F, ORBDB_ATH_T02 T WHERE F.FILE_SEQ = T.FILE_SEQ");
    if (joined.recordCount() != 1 || joined.text("FILE_SEQ") != "T02000001") return 5;
    try {
      db.execute("INSERT INTO ORBDB_ATH_FILE (BAN) VALUES ('1')");
      return 6;
    } catch (const Error&) {  // a write is refused
    }
    return 0;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
}

TEST_F(TableFileSafetyTest, AFolderTheUserCannotWriteOpensReadOnlyAndEveryLookupWorks) {
  ASSERT_TRUE(prepare().empty());
  {
    Database db;
    db.open("ORBWIN", folder);
    db.execute("INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ) VALUES ('1', 'T02000001')");
    db.execute("INSERT INTO ORBDB_ATH_FILE (BAN, FILE_SEQ) VALUES ('1', 'T02000002')");
    db.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ) VALUES ('1', 'T02000001')");
  }
  const bool root = ::geteuid() == 0;
  constexpr uid_t kNobody = 65534;
  if (root) {
    // The files belong to the user; only the folder is closed to writing.
    ::chmod(dir.path().c_str(), 0755);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
      ASSERT_EQ(::chown(entry.path().c_str(), kNobody, kNobody), 0);
    }
    ASSERT_EQ(::chown(folder.c_str(), kNobody, kNobody), 0);
  }
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  const auto before = entriesOf(folder);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (root && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      ::_exit(100);
    }
    ::_exit(lookupsInReadOnlyFolder(folder));
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ::chmod(folder.c_str(), 0755);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "2 writable, 3 no table, 4 count, 5 join, 6 write allowed";
  EXPECT_EQ(entriesOf(folder), before);  // nothing was written there
}

TEST_F(TableFileSafetyTest, APreparationKilledAtAnyMomentIsRepairedByTheNextOne) {
  // How long one preparation of an empty folder takes here, to spread the kills over it.
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(prepare().empty());
  const auto took = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - started)
                        .count();
  std::mt19937 random(20240501);  // fixed: the same kill moments on every run
  std::uniform_int_distribution<long> moment(0, took + took / 4);
  constexpr int kRuns = 36;
  int killed = 0;  // runs the kill ended before the preparation did
  for (int run = 0; run < kRuns; ++run) {
    const std::string context = "run " + std::to_string(run);
    fs::remove_all(folder);
    fs::create_directories(folder);
    // Every third run starts from index tables of the old layout, so kills land in the
    // migrations too; their rows must survive.
    const bool oldLayout = run % 3 == 2;
    if (oldLayout) {
      Database db;
      db.open("ORBWIN", folder);
      ASSERT_TRUE(createOwnTable(db, 'B', log));
      ASSERT_TRUE(createOwnTable(db, 'C', log));
      db.execute("INSERT INTO ORBDB_ATH_T02 (BAN, FILE_SEQ) VALUES ('1', 'T02000001')");
    }
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        (void)prepare();
      } catch (...) {  // the parent judges only what the files hold afterwards
      }
      ::_exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    killed += WIFSIGNALED(status) ? 1 : 0;

    EXPECT_TRUE(prepare().empty()) << context;
    expectCompleteTables(context);
    if (oldLayout) {
      Database db;
      db.open("ORBWIN", folder);
      EXPECT_EQ(db.query("SELECT FILE_SEQ FROM ORBDB_ATH_T02").text("FILE_SEQ"), "T02000001")
          << context;
    }
  }
  EXPECT_GT(killed, 0) << "no kill landed before the preparation ended";
  std::printf("%d of %d preparations killed before they ended\n", killed, kRuns);
}

}  // namespace
}  // namespace athup::store
