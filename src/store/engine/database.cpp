#include "store/engine/database.h"

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <set>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "common/atomic_file.h"
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

// A borrowed text stays where it is until the statement is reset for the next row, so SQLite need
// not copy it; any other text is copied.
void bindValue(sqlite3* db, sqlite3_stmt* stmt, int index, const Value& value,
               bool borrowed = false) {
  int rc = SQLITE_OK;
  const auto& data = value.data();
  if (const auto* text = std::get_if<std::string>(&data)) {
    rc = sqlite3_bind_text64(stmt, index, text->data(), text->size(),
                             borrowed ? SQLITE_STATIC : SQLITE_TRANSIENT, SQLITE_UTF8);
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

void throwIfFailed(sqlite3* db, int rc) {
  if (rc != SQLITE_OK) {
    throw Error(sqlite3_errmsg(db));
  }
}

// Whether this user may create files in the folder. Root passes on any local folder, as it can
// indeed write there; read-only media and mounts fail with EROFS.
bool folderWritable(const fs::path& folder) {
#ifdef _WIN32
  return _waccess(folder.c_str(), 2) == 0;
#else
  return access(folder.c_str(), W_OK) == 0;
#endif
}

// Creates a new empty file: never through a link planted at the name, and with the given mode
// whatever the umask.
void createPrivateFile(const fs::path& file, unsigned mode) {
#ifdef _WIN32
  (void)mode;
  std::FILE* handle = _wfopen(file.c_str(), L"wbx");
  if (handle == nullptr) {
    throw Error("Cannot create file: " + common::utf8FromPath(file));
  }
  std::fclose(handle);
#else
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
  const int fd = ::open(file.c_str(), flags, static_cast<mode_t>(mode));
  if (fd < 0) {
    throw Error("Cannot create file: " + common::utf8FromPath(file) + ": " +
                std::generic_category().message(errno));
  }
  (void)::fchmod(fd, static_cast<mode_t>(mode));
  ::close(fd);
#endif
}

// Whether the main database file is there as a plain file, made now when missing; never a link.
bool ensureMainFile(const fs::path& file) {
  std::error_code error;
  if (fs::symlink_status(file, error).type() == fs::file_type::not_found) {
    try {
      createPrivateFile(file, 0644);
    } catch (const Error&) {  // another connection made it meanwhile, or the folder refused
    }
  }
  return fs::symlink_status(file, error).type() == fs::file_type::regular;
}

// The permission bits of an existing file, for a replacement that keeps them.
unsigned fileMode(const fs::path& file) {
  std::error_code error;
  const auto status = fs::status(file, error);
  if (error) {
    return 0600;
  }
  return static_cast<unsigned>(status.permissions() & fs::perms::mask);
}

// Flushes a rename to disk: the folder entry is what the rename changed.
void syncFolder(const fs::path& folder) {
#ifndef _WIN32
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    (void)::fsync(fd);
    ::close(fd);
  }
#else
  (void)folder;
#endif
}

// Whether a table file holds no table: what a creation that was killed leaves (an empty file or
// a header only). Read through a read-only connection of its own, so a table still in a
// write-ahead log counts. A file that cannot be read (not a database, locked) is not judged
// empty: it may hold the user's rows.
bool holdsNoTable(const fs::path& file) {
  sqlite3* db = nullptr;
  const std::string name = common::utf8FromPath(file);
  bool empty = false;
  if (sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'table'", -1, &stmt,
                           nullptr) == SQLITE_OK &&
        sqlite3_step(stmt) == SQLITE_ROW) {
      empty = sqlite3_column_int64(stmt, 0) == 0;
    }
    sqlite3_finalize(stmt);
  }
  sqlite3_close_v2(db);
  return empty;
}

// Removes the journals a killed run may have left beside a table file that is being replaced;
// a hot journal would otherwise be played back into the new file.
void removeSideFiles(const fs::path& file) {
  for (const char* suffix : {"-journal", "-wal", "-shm"}) {
    std::error_code error;  // none there is the usual case
    fs::remove(fs::path(file.native() + fs::path(suffix).native()), error);
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
  std::error_code error;
  const bool folderThere = fs::is_directory(m_folder, error);
  m_folderMissingAtConnect = !folderThere;
  m_readOnly = folderThere && !folderWritable(m_folder);
  // A writable folder gets the hidden main database file, so that SQLite keeps a super-journal
  // for transactions over several table files. A read-only folder writes nothing, and a folder
  // that does not exist yet gets one when it appears (connectWhenFolderAppeared).
  std::string mainName = ":memory:";
  int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  if (m_readOnly) {
    flags = SQLITE_OPEN_READONLY;  // attached files open with the connection's flags
  } else if (folderThere) {
    // It holds nothing, so other users of a shared folder may read it (SQLite then opens it
    // read-only, which is all the super-journal needs). One that cannot be made (a link planted
    // at its name, another user's file) costs only the atomicity across files.
    const fs::path mainFile = m_folder / kMainFileName;
    if (ensureMainFile(mainFile)) {
      mainName = common::utf8FromPath(mainFile);
    }
  }
  sqlite3* db = nullptr;
  int rc = sqlite3_open_v2(mainName.c_str(), &db, flags, nullptr);
  if (rc != SQLITE_OK && mainName != ":memory:") {
    sqlite3_close(db);
    db = nullptr;
    rc = sqlite3_open_v2(":memory:", &db, flags, nullptr);
  }
  if (rc != SQLITE_OK) {
    const std::string message = db != nullptr ? sqlite3_errmsg(db) : "out of memory";
    sqlite3_close(db);
    throw Error(message);
  }
  m_db = db;
  try {
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    sqlite3_extended_result_codes(m_db, 1);
    // Table files come from shared folders: their schema may not run functions or corrupt the
    // engine's own records.
    throwIfFailed(m_db, sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr));
    throwIfFailed(m_db, sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr));
    registerWidthFunction(m_db);
  } catch (...) {
    disconnect();
    throw;
  }
}

void Database::connectWhenFolderAppeared() {
  if (!m_folderMissingAtConnect || m_inTransaction || !m_attached.empty()) {
    return;
  }
  std::error_code error;
  if (fs::is_directory(m_folder, error)) {
    disconnect();
    connect();
  }
}

void Database::countEngineCall() {
  if (m_failCountdown > 0 && --m_failCountdown == 0) {
    throw Error("Injected fault: the engine call failed");
  }
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
    // A connection setting, not a write: reading a file never changes it.
    exec("PRAGMA " + entry.schema + ".synchronous = FULL");
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

bool Database::tableExists(std::string_view table) const {
  const fs::path file = tableFile(table);
  return !file.empty() && !holdsNoTable(file);
}

void Database::runCreateTable(const TranslatedStatement& statement) {
  const std::string& table = statement.createdTable;
  if (m_inTransaction) {
    throw Error("Tables cannot be created inside a transaction");
  }
  // A file left without its table by a killed creation is replaced at its own spelling.
  const fs::path existing = tableFile(table);
  if (!existing.empty() && !holdsNoTable(existing)) {
    throw Error("Table " + table + " already exists");
  }
  std::error_code error;
  if (!fs::is_directory(m_folder, error)) {
    throw Error("Directory not found: " + common::utf8FromPath(m_folder));
  }
  const std::string key = upperAscii(table);
  const fs::path file = existing.empty() ? m_folder / fs::path(tableFileName(table)) : existing;
  // Whatever else stands at that path (a dangling link, say) is not ours to replace.
  if (existing.empty() && fs::symlink_status(file, error).type() != fs::file_type::not_found) {
    throw Error("Cannot create table file: " + common::utf8FromPath(file));
  }
  const unsigned mode = existing.empty() ? 0600 : fileMode(existing);
  // The table is made in a hidden file that no listing takes for a table and renamed into place
  // once it exists, so a killed run never leaves a table file without its table.
  const fs::path temporary = m_folder / fs::path(std::string(common::kTemporaryFilePrefix) +
                                                 tableFileName(table) + ".new");
  if (m_attached.contains(key)) {
    detach(key);  // the empty file being replaced
  }
  // The new file is attached before it holds a table, so make room as for any other file.
  const auto limit = static_cast<std::size_t>(sqlite3_limit(m_db, SQLITE_LIMIT_ATTACHED, -1));
  while (m_attached.size() >= limit) {
    auto victim = std::min_element(
        m_attached.begin(), m_attached.end(),
        [](const auto& a, const auto& b) { return a.second.lastUse < b.second.lastUse; });
    detach(victim->first);
  }
  // A temporary file of a run that was killed is stale.
  fs::remove(temporary, error);
  removeSideFiles(temporary);
  try {
    createPrivateFile(temporary, mode);
    attach(key, temporary);
    exec("PRAGMA " + m_attached.at(key).schema + ".journal_mode = DELETE");
    // Qualify the new table with the attachment of its file.
    std::string qualified = statement.sql;
    qualified.insert(statement.createdTableOffset, m_attached.at(key).schema + ".");
    Statement create(m_db, qualified);
    if (sqlite3_step(create.get()) != SQLITE_DONE) {
      throw Error(sqlite3_errmsg(m_db));
    }
    detach(key);
    removeSideFiles(file);
    fs::rename(temporary, file, error);
    if (error) {
      throw Error("Cannot create table file: " + common::utf8FromPath(file) + ": " +
                  error.message());
    }
    syncFolder(m_folder);
    m_listing[key] = file;
    attach(key, file);
  } catch (...) {
    // A table that could not be created leaves no file behind.
    try {
      detach(key);
    } catch (const Error&) {  // the file is removed below in any case
    }
    fs::remove(temporary, error);
    removeSideFiles(temporary);
    throw;
  }
}

void Database::execute(std::string_view sql, const Params& params) {
  (void)query(sql, params);
}

ResultSet Database::query(std::string_view sql, const Params& params) {
  requireOpen();
  connectWhenFolderAppeared();
  TranslatedStatement statement = translateStatement(sql);
  countEngineCall();
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

void Database::executeEach(std::string_view sql, const std::vector<Params>& paramSets) {
  requireOpen();
  connectWhenFolderAppeared();
  const TranslatedStatement statement = translateStatement(sql);
  if (!statement.createdTable.empty() || !statement.alteredTable.empty()) {
    throw Error("executeEach runs row statements only");
  }
  ensureAttached(statement.identifiers);
  Statement prepared(m_db, statement.sql);
  if (sqlite3_column_count(prepared.get()) != 0) {
    throw Error("executeEach runs statements without result rows only");
  }
  // The parameter sets share their names and order, so the names are matched once, on the
  // first set, and every set is checked against it cheaply.
  std::vector<std::size_t> order;
  std::int64_t changes = 0;
  for (const auto& params : paramSets) {
    countEngineCall();
    sqlite3_reset(prepared.get());
    if (order.empty()) {
      bindParams(m_db, prepared.get(), params);
      for (int i = 1; i <= sqlite3_bind_parameter_count(prepared.get()); ++i) {
        const std::string key = bareParamName(sqlite3_bind_parameter_name(prepared.get(), i));
        const auto found = std::find_if(params.begin(), params.end(), [&](const Param& param) {
          return bareParamName(param.name) == key;
        });
        order.push_back(static_cast<std::size_t>(found - params.begin()));
      }
    } else {
      if (params.size() != paramSets.front().size()) {
        throw Error("Every parameter set must name the same parameters");
      }
      for (std::size_t i = 0; i < order.size(); ++i) {
        const Param& param = params[order[i]];
        if (param.name != paramSets.front()[order[i]].name) {
          throw Error("Every parameter set must name the same parameters");
        }
        // every parameter is bound again for each set, and the sets outlive the statement
        bindValue(m_db, prepared.get(), static_cast<int>(i + 1), param.value, true);
      }
    }
    if (sqlite3_step(prepared.get()) != SQLITE_DONE) {
      throw Error(sqlite3_errmsg(m_db));
    }
    changes += sqlite3_changes64(m_db);
  }
  m_lastChanges = changes;
}

Transaction Database::transaction(std::initializer_list<std::string_view> tables) {
  requireOpen();
  if (m_inTransaction) {
    throw Error("A transaction is already active on " + m_aliasName);
  }
  connectWhenFolderAppeared();
  ensureAttached(std::vector<std::string>(tables.begin(), tables.end()));
  countEngineCall();
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
      countEngineCall();
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
