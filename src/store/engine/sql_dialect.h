#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The statements the flows use are written in the local SQL of the filing program's engine. The
// few places where that dialect and SQLite differ are translated here, and only here.
namespace athup::store {

struct TranslatedStatement {
  std::string sql;                       // the statement as SQLite takes it
  std::vector<std::string> identifiers;  // every bare word outside literals, as written
  std::vector<std::string> parameters;   // names of the ":NAME" parameters, without the colon
  std::string createdTable;              // the table a CREATE TABLE makes; empty otherwise
  std::size_t createdTableOffset = 0;    // where its name stands in `sql`
  std::string alteredTable;              // the table an ALTER TABLE changes; empty otherwise
};

// - a table named as its file, quoted ("ORBDB_ATH_T02.DB") or not (ORBDB_ATH_T02.DB), becomes
//   the bare table name;
// - any other double-quoted text is a text literal and becomes single-quoted ("T02" -> 'T02',
//   "" -> ''); double quotes therefore never name a column;
// - single-quoted literals, parameters, comments and everything else pass unchanged.
[[nodiscard]] TranslatedStatement translateStatement(std::string_view sql);

}  // namespace athup::store
