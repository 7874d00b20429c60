#include "store/engine/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <set>
#include <system_error>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "store/engine/sql_dialect.h"
#include "store/engine/table_files.h"
#include "store/engine/width_guard.h"

namespace athup::store {

namespace fs = std::filesystem;

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Finalizes a prepared statement however the scope is left.
class Statement {
 public:
  Statement(sqlite3* db, const std::string& sql) {
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1), &m_stmt, &tail) !=
        SQLITE_OK) {
      throw Error(sqlite3_errmsg(db));
    }
    if (m_stmt == nullptr) {
      throw Error("Empty statement");
    }
    // One statement per call: a second one would otherwise be ignored without a word.
    for (; tail != nullptr && *tail != '\0'; ++tail) {
      if (*tail != ';' && *tail != ' ' && *tail != '\t' && *tail != '\r' && *tail != '\n') {
        sqlite3_finalize(m_stmt);
        throw Error("Only one statement can be run at a time");
      }
    }
  }
  ~Statement() { sqlite3_finalize(m_stmt); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return m_stmt; }

 private:
  sqlite3_stmt* m_stmt = nullptr;
};

std::string bareParamName(std::string_view name) {
  if (!name.empty() && (name.front() == ':' || name.front() == '@' || name.front() == '$')) {
    name.remove_prefix(1);
  }
  return upperAscii(name);
}

void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, const Value& value) {
  int rc = SQLITE_OK;
  const auto& data = value.data();
  if (const auto* text = std::get_if<std::string>(&data)) {
    rc =
        sqlite3_bind_text64(stmt, index, text->data(), text->size(), SQLITE_TRANSIENT, SQLITE_UTF8);
  } else if (const auto* whole = std::get_if<std::int64_t>(&data)) {
    rc = sqlite3_bind_int64(stmt, index, *whole);
  } else if (const auto* real = std::get_if<double>(&data)) {
    rc = sqlite3_bind_double(stmt, index, *real);
  } else {
    rc = sqlite3_bind_null(stmt, index);
  }
  if (rc != SQLITE_OK) {
    throw Error(sqlite3_errmsg(db));
  }
}

// Binds every parameter of the statement by name. A parameter left unbound would silently read
// as NULL and match nothing, so a missing one, or one given that the statement does not name, is
// an error of the caller.
void bindParams(sqlite3* db, sqlite3_stmt* stmt, const Params& params) {
  const int count = sqlite3_bind_parameter_count(stmt);
  std::set<std::string> named;
  for (int i = 1; i <= count; ++i) {
    const char* name = sqlite3_bind_parameter_name(stmt, i);
    if (name == nullptr) {
      throw Error("Unnamed parameters are not supported");
    }
    const std::string key = bareParamName(name);
    named.insert(key);
    const auto found = std::find_if(params.begin(), params.end(), [&](const Param& param) {
      return bareParamName(param.name) == key;
    });
    if (found == params.end()) {
      throw Error("Parameter '" + key + "' has no value");
    }
    bindValue(db, stmt, i, found->value);
  }
  for (const auto& param : params) {
    if (!named.contains(bareParamName(param.name))) {
      throw Error("Parameter '" + bareParamName(param.name) + "' not found");
    }
  }
}

Value columnValue(sqlite3_stmt* stmt, int column) {
  switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_INTEGER:
      return Value(static_cast<long long>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT:
      return Value(sqlite3_column_double(stmt, column));
    case SQLITE_TEXT:
    case SQLITE_BLOB: {
      const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
      const int size = sqlite3_column_bytes(stmt, column);
      return Value(std::string(bytes == nullptr ? "" : bytes, static_cast<std::size_t>(size)));
    }
    default:
      return Value();
  }
}

}  // namespace

Database::Database() = default;

Database::~Database() {
  try {
    disconnect();
  } catch (...) {  // a destructor must not throw; the connection is closed regardless
  }
}

void Database::open(std::string aliasName, const fs::path& folder) {
  disconnect();
  m_aliasName = std::move(aliasName);
  m_folder = folder;
  connect();
}

void Database::close() {
  disconnect();
}

void Database::reconnect(const fs::path& folder) {
  if (m_inTransaction) {
    throw Error("Cannot change the folder of " + m_aliasName + " inside a transaction");
  }
  disconnect();
  m_folder = folder;
  connect();
}

void Database::requireOpen() const {
  if (m_db == nullptr) {
    throw Error("Database " + (m_aliasName.empty() ? std::string("(none)") : m_aliasName) +
                " is not open");
  }
}

void Database::connect() {
  sqlite3* db = nullptr;
  // The main database is private memory; the tables are attached files.
  if (sqlite3_open_v2(":memory:", &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    const std::string message = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw Error(message);
  }
  m_db = db;
  sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
  sqlite3_extended_result_codes(m_db, 1);
  registerWidthFunction(m_db);
}

void Database::disconnect() {
  if (m_db != nullptr) {
    sqlite3_close_v2(m_db);
    m_db = nullptr;
  }
  m_attached.clear();
  m_listing.clear();
  m_listingValid = false;
  m_inTransaction = false;
}

void Database::exec(const std::string& sql) {
  char* message = nullptr;
  if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    const std::string text = message != nullptr ? message : sqlite3_errmsg(m_db);
    sqlite3_free(message);
    throw Error(text);
  }
}

fs::path Database::tableFile(std::string_view table) const {
  return findTableFile(m_folder, table);
}

void Database::attach(const std::string& key, const fs::path& file) {
  Attached entry;
  entry.schema = "t" + std::to_string(++m_schemaCounter);
  entry.file = file;
  {
    Statement attachStatement(m_db, "ATTACH DATABASE ?1 AS " + entry.schema);
    const std::string fileText = common::utf8FromPath(file);
    sqlite3_bind_text(attachStatement.get(), 1, fileText.c_str(), -1, SQLITE_TRANSIENT);
    if (sqlite3_step(attachStatement.get()) != SQLITE_DONE) {
      throw Error(sqlite3_errmsg(m_db));
    }
  }
  entry.lastUse = ++m_useCounter;
  m_attached[key] = entry;
  try {
    // Write-ahead logging keeps each file consistent after a crash without a disk flush per
    // statement; the filing program's engine never flushed either.
    exec("PRAGMA " + entry.schema + ".journal_mode = WAL");
    exec("PRAGMA " + entry.schema + ".synchronous = NORMAL");
    refreshWidthGuard(key);
  } catch (...) {
    detach(key);
    throw;
  }
}

void Database::detach(const std::string& key) {
  const auto found = m_attached.find(key);
  if (found == m_attached.end()) {
    return;
  }
  const std::string schema = found->second.schema;
  m_attached.erase(found);
  for (const auto& statement : dropWidthGuardStatements(schema)) {
    exec(statement);
  }
  exec("DETACH DATABASE " + schema);
}

void Database::refreshWidthGuard(const std::string& key) {
  Attached& entry = m_attached.at(key);
  // The table a file holds, as the file spells it.
  entry.table.clear();
  {
    Statement names(m_db, "SELECT name FROM " + entry.schema +
                              ".sqlite_master WHERE type = 'table' ORDER BY rowid");
    if (sqlite3_step(names.get()) == SQLITE_ROW) {
      entry.table = reinterpret_cast<const char*>(sqlite3_column_text(names.get(), 0));
    }
  }
  std::vector<std::pair<std::string, std::string>> columns;
  if (!entry.table.empty()) {
    Statement info(m_db, "SELECT name, type FROM pragma_table_info(?1, ?2)");
    sqlite3_bind_text(info.get(), 1, entry.table.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(info.get(), 2, entry.schema.c_str(), -1, SQLITE_TRANSIENT);
    while (sqlite3_step(info.get()) == SQLITE_ROW) {
      const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 0));
      const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info.get(), 1));
      columns.emplace_back(name == nullptr ? "" : name, type == nullptr ? "" : type);
    }
  }
  for (const auto& statement : widthGuardStatements(entry.schema, entry.table, columns)) {
    exec(statement);
  }
}

void Database::refreshListing() {
  std::error_code error;
  const auto stamp = fs::last_write_time(m_folder, error);
  // A listing taken in the same moment the folder changed may miss that change (coarse time
  // stamps), so a freshly changed folder is read again.
  const bool recent = !error && fs::file_time_type::clock::now() - stamp < std::chrono::seconds(2);
  if (m_listingValid && !error && stamp == m_listingStamp && !recent) {
    return;
  }
  m_listing.clear();
  m_listingStamp = stamp;
  m_listingValid = !error;
  for (fs::directory_iterator it(m_folder, error), end; !error && it != end; it.increment(error)) {
    const std::string name = common::utf8FromPath(it->path().filename());
    if (name.size() <= 3 || upperAscii(name.substr(name.size() - 3)) != ".DB") {
      continue;
    }
    std::error_code typeError;
    if (!fs::is_regular_file(it->path(), typeError)) {
      continue;
    }
    const std::string key = upperAscii(name.substr(0, name.size() - 3));
    // Several spellings on a case-sensitive disk: the first in name order, like findTableFile.
    const auto found = m_listing.find(key);
    if (found == m_listing.end() || it->path().filename() < found->second.filename()) {
      m_listing[key] = it->path();
    }
  }
}

void Database::ensureAttached(const std::vector<std::string>& names) {
  refreshListing();
  // The files this statement names, by upper-case table name.
  std::map<std::string, fs::path> needed;
  for (const auto& name : names) {
    const std::string key = upperAscii(name);
    if (needed.contains(key)) {
      continue;
    }
    if (const auto found = m_attached.find(key); found != m_attached.end()) {
      needed[key] = found->second.file;
      continue;
    }
    if (const auto listed = m_listing.find(key); listed != m_listing.end()) {
      needed[key] = listed->second;
    }
  }
  const auto limit = static_cast<std::size_t>(sqlite3_limit(m_db, SQLITE_LIMIT_ATTACHED, -1));
  if (needed.size() > limit) {
    throw Error("A statement can use at most " + std::to_string(limit) + " tables");
  }
  for (const auto& [key, file] : needed) {
    if (const auto found = m_attached.find(key); found != m_attached.end()) {
      found->second.lastUse = ++m_useCounter;
      continue;
    }
    if (m_inTransaction) {
      throw Error("Table " + key + " was not named when the transaction began");
    }
    while (m_attached.size() >= limit) {
      // Make room: the least recently used file this statement does not need.
      auto victim = m_attached.end();
      for (auto it = m_attached.begin(); it != m_attached.end(); ++it) {
        if (!needed.contains(it->first) &&
            (victim == m_attached.end() || it->second.lastUse < victim->second.lastUse)) {
          victim = it;
        }
      }
      detach(victim->first);
    }
    attach(key, file);
  }
}

void Database::runCreateTable(const TranslatedStatement& statement) {
  const std::string& table = statement.createdTable;
  if (m_inTransaction) {
    throw Error("Tables cannot be created inside a transaction");
  }
  if (!tableFile(table).empty()) {
    throw Error("Table " + table + " already exists");
  }
  std::error_code error;
  if (!fs::is_directory(m_folder, error)) {
    throw Error("Directory not found: " + common::utf8FromPath(m_folder));
  }
  const std::string key = upperAscii(table);
  const fs::path file = m_folder / fs::path(tableFileName(table));
  // The new file is attached before it holds a table, so make room as for any other file.
  const auto limit = static_cast<std::size_t>(sqlite3_limit(m_db, SQLITE_LIMIT_ATTACHED, -1));
  while (m_attached.size() >= limit) {
    auto victim = std::min_element(
        m_attached.begin(), m_attached.end(),
        [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
    detach(victim->first);
  }
  // Whatever already stands at that path (a dangling link, say) is not ours to delete.
  const bool somethingThere = fs::symlink_status(file, error).type() != fs::file_type::not_found;
  try {
    attach(key, file);
    // Qualify the new table with the attachment of its file.
    std::string qualified = statement.sql;
    qualified.insert(statement.createdTableOffset, m_attached.at(key).schema + ".");
    Statement create(m_db, qualified);
    if (sqlite3_step(create.get()) != SQLITE_DONE) {
      throw Error(sqlite3_errmsg(m_db));
    }
    refreshWidthGuard(key);
    m_listing[key] = file;
  } catch (...) {
    // A table that could not be created leaves no file behind.
    try {
      detach(key);
    } catch (const Error&) {  // the file is removed below in any case
    }
    if (!somethingThere) {
      fs::remove(file, error);
    }
    throw;
  }
}

void Database::execute(std::string_view sql, const Params& params) {
  (void)query(sql, params);
}

ResultSet Database::query(std::string_view sql, const Params& params) {
  requireOpen();
  TranslatedStatement statement = translateStatement(sql);
  if (!statement.createdTable.empty()) {
    if (!params.empty() || !statement.parameters.empty()) {
      throw Error("CREATE TABLE takes no parameters");
    }
    runCreateTable(statement);
    m_lastChanges = 0;
    return {};
  }

  ensureAttached(statement.identifiers);
  Statement prepared(m_db, statement.sql);
  bindParams(m_db, prepared.get(), params);

  const int columnCount = sqlite3_column_count(prepared.get());
  std::vector<std::string> names;
  names.reserve(static_cast<std::size_t>(columnCount));
  for (int i = 0; i < columnCount; ++i) {
    const char* name = sqlite3_column_name(prepared.get(), i);
    names.emplace_back(name == nullptr ? "" : name);
  }
  std::vector<std::vector<Value>> rows;
  for (;;) {
    const int rc = sqlite3_step(prepared.get());
    if (rc == SQLITE_DONE) {
      break;
    }
    if (rc != SQLITE_ROW) {
      throw Error(sqlite3_errmsg(m_db));
    }
    std::vector<Value> row;
    row.reserve(static_cast<std::size_t>(columnCount));
    for (int i = 0; i < columnCount; ++i) {
      row.push_back(columnValue(prepared.get(), i));
    }
    rows.push_back(std::move(row));
  }
  m_lastChanges = columnCount == 0 ? sqlite3_changes64(m_db) : 0;

  if (!statement.alteredTable.empty()) {
    const std::string key = upperAscii(statement.alteredTable);
    if (m_attached.contains(key)) {
      refreshWidthGuard(key);
    }
  }
  return ResultSet(std::move(names), std::move(rows));
}

Transaction Database::transaction(std::initializer_list<std::string_view> tables) {
  requireOpen();
  if (m_inTransaction) {
    throw Error("A transaction is already active on " + m_aliasName);
  }
  ensureAttached(std::vector<std::string>(tables.begin(), tables.end()));
  exec("BEGIN");
  m_inTransaction = true;
  return Transaction(*this);
}

void Database::endTransaction(bool commit) {
  if (!m_inTransaction || m_db == nullptr) {
    return;
  }
  if (commit) {
    try {
      exec("COMMIT");
    } catch (const Error&) {
      char* ignored = nullptr;
      sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, &ignored);
      sqlite3_free(ignored);
      m_inTransaction = false;
      throw;
    }
  } else {
    char* ignored = nullptr;
    // A failed statement may already have rolled the transaction back.
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, &ignored);
    sqlite3_free(ignored);
  }
  m_inTransaction = false;
}

}  // namespace athup::store
