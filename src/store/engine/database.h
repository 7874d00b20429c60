#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "store/engine/result_set.h"
#include "store/engine/transaction.h"
#include "store/engine/value.h"

struct sqlite3;

namespace athup::store {

struct TranslatedStatement;

// One database alias: a folder whose tables are files named like the table + ".DB", each holding
// that one table (SQLite). Statements name tables bare (ORBDB_ATH_FILE) or as file names, quoted
// or not ("ORBDB_ATH_T02.DB", ORBDB_ATH_T02.DB); the connection attaches the files a statement
// names, so bare names resolve. File names are matched without regard to case, as on the
// workstation the tables come from.
//
// SQLite attaches at most ten files to one connection. A statement may name at most that many
// tables; the connection detaches the least recently used files to make room for the next
// statement. Files cannot be attached inside a transaction: name the tables when it begins.
//
// Widths of CHAR(n) columns are Big5 bytes. A value that does not fit is refused with an
// athup::Error naming the table and column rather than cut: a cut document path or name would
// silently lose the user's work.
//
// Every failure of the engine raises athup::Error carrying the engine's message.
//
// Table files use a rollback journal (never WAL, whose shared-memory file does not work on a
// network share) with full syncs. The connection's main database is a small hidden file in the
// folder, so SQLite's super-journal makes a transaction over several table files atomic across a
// crash. A folder the user cannot write is opened read-only: lookups work, writes fail.
// Table files come from shared folders, so their schema is not trusted (defensive mode).
class Database {
 public:
  Database();
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Binds the alias to a folder. The folder need not exist yet; statements then fail.
  void open(std::string aliasName, const std::filesystem::path& folder);
  void close();
  // Disconnects, points the alias at another folder and connects again (the period change).
  void reconnect(const std::filesystem::path& folder);

  [[nodiscard]] bool isOpen() const { return m_db != nullptr; }
  [[nodiscard]] const std::string& aliasName() const { return m_aliasName; }
  [[nodiscard]] const std::filesystem::path& folder() const { return m_folder; }

  // Runs one statement that returns no rows (INSERT, DELETE, UPDATE, CREATE TABLE, ALTER TABLE).
  // Every parameter the statement names must be given, and every one given must be named.
  void execute(std::string_view sql, const Params& params = {});
  // Runs one statement that returns no rows once per parameter set, prepared once: for inserting
  // many rows. Each run counts as one engine call.
  void executeEach(std::string_view sql, const std::vector<Params>& paramSets);
  // Rows the last INSERT, UPDATE or DELETE changed.
  [[nodiscard]] std::int64_t lastChanges() const { return m_lastChanges; }

  // Runs one SELECT and reads all its rows.
  [[nodiscard]] ResultSet query(std::string_view sql, const Params& params = {});

  // Starts a transaction over the given tables (attached now, since files cannot be attached
  // inside it). Commit explicitly; a transaction left uncommitted rolls back.
  [[nodiscard]] Transaction transaction(std::initializer_list<std::string_view> tables);

  // The file of a table in the alias folder (matched without regard to case); empty when there
  // is none.
  [[nodiscard]] std::filesystem::path tableFile(std::string_view table) const;
  // Whether the folder holds the table. A file without its table (empty, or only a header, as a
  // creation that was killed leaves it) counts as absent; creating the table replaces it.
  [[nodiscard]] bool tableExists(std::string_view table) const;

  // Whether the folder was found read-only when the connection was made.
  [[nodiscard]] bool isReadOnly() const { return m_readOnly; }

  // The hidden main database file of a writable alias folder; its name cannot collide with a
  // table file.
  static constexpr const char* kMainFileName = ".athup-main.sqlite";

  // Test hook, inert unless armed: the n-th engine call from now (1 = the next; each statement,
  // each BEGIN and each COMMIT is one call) fails with an athup::Error as if the engine had
  // failed. 0 disarms.
  void failEngineCall(std::int64_t n) { m_failCountdown = n; }

 private:
  friend class Transaction;

  struct Attached {
    std::string schema;          // name of the attachment ("t1", "t2", ...)
    std::string table;           // table name as stored in the file
    std::filesystem::path file;  // the table file
    std::uint64_t lastUse = 0;
  };

  void requireOpen() const;
  void connect();
  void disconnect();
  void refreshListing();
  void ensureAttached(const std::vector<std::string>& names);
  void attach(const std::string& key, const std::filesystem::path& file);
  void detach(const std::string& key);
  void refreshWidthGuard(const std::string& key);
  void runCreateTable(const TranslatedStatement& statement);
  void exec(const std::string& sql);
  void endTransaction(bool commit);
  void countEngineCall();
  void connectWhenFolderAppeared();

  sqlite3* m_db = nullptr;
  std::string m_aliasName;
  std::filesystem::path m_folder;
  std::map<std::string, Attached> m_attached;  // by upper-case table name
  // The folder's table files by upper-case table name, re-read when the folder changes.
  std::map<std::string, std::filesystem::path> m_listing;
  std::filesystem::file_time_type m_listingStamp{};
  bool m_listingValid = false;
  std::uint64_t m_useCounter = 0;
  std::uint64_t m_schemaCounter = 0;
  std::int64_t m_lastChanges = 0;
  bool m_inTransaction = false;
  bool m_readOnly = false;
  bool m_folderMissingAtConnect = false;  // main database in memory until the folder exists
  std::int64_t m_failCountdown = 0;
};

}  // namespace athup::store
