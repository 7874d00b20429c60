// athup-cli assign and unassign: step 2 of the attachment work without the window. Assigns
// documents to one index row, or removes them.
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "cli/answering_interaction.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "index/flows/assignment_flow.h"
#include "store/queries/category_types.h"
#include "store/queries/index_queries.h"

namespace athup::cli {
namespace {

// The category of an index row is the start of its key; the row must exist.
std::string typeOfRow(store::Database& orbWin, const std::string& ban, const std::string& seq) {
  const std::string type = seq.substr(0, 3);
  if (store::isCategoryType(type)) {
    store::ResultSet rows = store::IndexQueries(orbWin).indexRows(ban, type);
    for (rows.first(); !rows.eof(); rows.next()) {
      if (rows.text("FILE_SEQ") == seq) return type;
    }
  }
  throw Error("no index row " + seq + " for " + ban);
}

int runAssign(CommandContext& context) {
  const IndexOptions options(context.args, {"period", "ban", "seq"}, {"yes"});
  if (options.words().empty()) throw UsageError("name at least one document");
  const std::string ban = options.required("ban");
  const std::string seq = options.required("seq");
  AnsweringInteraction ui(context.err, options.flag("yes"), std::nullopt);
  PeriodSession period(options.required("period"), ui);
  store::Database& orbWin = period.session().orbWin();
  index::AssignmentFlow flow(ui, orbWin, period.period(), ban, typeOfRow(orbWin, ban, seq));
  std::vector<std::string> paths;
  for (const auto& word : options.words()) {
    paths.push_back(common::utf8FromPath(std::filesystem::absolute(common::pathFromUtf8(word))));
  }
  if (!flow.save(seq, paths)) return kExitFailure;
  context.out << "assigned " << paths.size() << " documents to " << seq << '\n';
  return kExitOk;
}

int runUnassign(CommandContext& context) {
  const IndexOptions options(context.args, {"period", "ban", "seq"}, {"yes"});
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const std::string ban = options.required("ban");
  const std::string seq = options.required("seq");
  AnsweringInteraction ui(context.err, options.flag("yes"), std::nullopt);
  PeriodSession period(options.required("period"), ui);
  store::Database& orbWin = period.session().orbWin();
  index::AssignmentFlow flow(ui, orbWin, period.period(), ban, typeOfRow(orbWin, ban, seq));
  if (!flow.clear(seq)) return kExitFailure;
  context.out << "removed the documents of " << seq << '\n';
  return kExitOk;
}

const CommandRegistration kAssign{Command{
    "assign",
    "  athup-cli assign --period YYY/MM --ban BAN --seq FILE_SEQ [--yes] FILE...\n"
    "      Assign the documents to the index row FILE_SEQ, replacing its documents. Going over\n"
    "      the upload limit (10 MB per taxpayer) needs --yes.\n",
    runAssign}};

const CommandRegistration kUnassign{
    Command{"unassign",
            "  athup-cli unassign --period YYY/MM --ban BAN --seq FILE_SEQ --yes\n"
            "      Remove the documents of the index row FILE_SEQ (asks; --yes answers).\n",
            runUnassign}};

}  // namespace
}  // namespace athup::cli
