// athup-cli index: the taxpayer's attachment index, row by row with its documents.
#include <cmath>
#include <ostream>
#include <string>

#include "cli/answering_interaction.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "store/queries/category_queries.h"
#include "store/queries/category_types.h"
#include "store/queries/index_queries.h"

namespace athup::cli {
namespace {

// The columns shown per row: what identifies the line to the user in each category.
const char* const kT02Columns[] = {"INVO_TRACK", "BUYER_BAN", "ZTX_S_AMT"};
const char* const kT08Columns[] = {"INVO_TRACK_NO", "FA_REF_NM", "FA_REF_AMT"};
const char* const kTetColumns[] = {"DATA_YYMM_X5", "FLG_TMS", "TOTAL_PAID_MK"};

int runIndex(CommandContext& context) {
  const IndexOptions options(context.args, {"period", "ban"}, {});
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const std::string ban = options.required("ban");
  AnsweringInteraction ui(context.err, false, std::nullopt);
  PeriodSession period(options.required("period"), ui);
  store::IndexQueries index(period.session().orbWin());
  store::CategoryQueries categories(period.session().orbCode());
  for (const char* type : {"T02", "T08", "TET"}) {
    store::ResultSet rows = index.indexRows(ban, type);
    if (rows.empty()) continue;
    context.out << type << ' ' << categories.categoryName(type) << ": " << rows.recordCount()
                << " rows\n";
    const auto& columns = std::string(type) == "T02"   ? kT02Columns
                          : std::string(type) == "T08" ? kT08Columns
                                                       : kTetColumns;
    for (rows.first(); !rows.eof(); rows.next()) {
      const std::string seq = rows.text("FILE_SEQ");
      context.out << seq;
      for (const char* column : columns) context.out << '\t' << rows.text(column);
      store::ResultSet files = index.rowFiles(ban, seq);
      context.out << "\tfiles=" << files.recordCount() << '\n';
      for (files.first(); !files.eof(); files.next()) {
        context.out << "  " << files.text("SUB_SEQ") << '\t' << files.text("FILE_NM") << '\t'
                    << std::llround(files.number("FILE_SIZE")) << '\t' << files.text("FILE_PATH_NM")
                    << '\n';
      }
    }
  }
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "index",
    "  athup-cli index --period YYY/MM --ban BAN\n"
    "      Print the taxpayer's index rows per category (key, identifying fields, number of\n"
    "      documents) and each row's documents (position, upload name, size, path).\n",
    runIndex}};

}  // namespace
}  // namespace athup::cli
