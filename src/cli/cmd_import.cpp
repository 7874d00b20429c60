// athup-cli import: step 1 of the attachment work without the window. Imports the lines of a
// taxpayer's filing file that need evidence into the category's index.
#include <unistd.h>

#include <iostream>
#include <ostream>
#include <string>

#include "cli/answering_interaction.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "common/ascii.h"
#include "index/flows/index_import_flow.h"
#include "index/flows/taxpayer_entry_flow.h"
#include "store/queries/category_types.h"
#include "store/queries/index_queries.h"

namespace athup::cli {
namespace {

int runImport(CommandContext& context) {
  const IndexOptions options(context.args, {"period", "ban", "type", "folder"}, {"yes"});
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const std::string type = common::upperAscii(options.required("type"));
  if (!store::isCategoryType(type)) throw UsageError("--type must be T02, T08 or TET");
  const std::string typedBan = options.required("ban");

  AnsweringInteraction ui(context.err, options.flag("yes"), std::nullopt);
  PeriodSession period(options.required("period"), ui);
  app::AppSession& session = period.session();
  const auto taxpayer = index::TaxpayerEntryFlow(ui, session.orbCode()).select(typedBan);
  if (!taxpayer) return kExitFailure;

  index::IndexImportFlow flow(ui, session.orbWin(), session.orbCode());
  // A progress line only where someone watches it: not into a pipe or a captured stream.
  if (&context.err == &std::cerr && ::isatty(STDERR_FILENO) == 1) {
    flow.setProgress([&context](std::int64_t done, std::int64_t total) {
      context.err << "\rreading line " << done << " of " << total << (done == total ? "\n" : "")
                  << std::flush;
    });
  }
  const std::string folder = options.value("folder").value_or(session.folders().gPeriodDefaultPath);
  switch (flow.editCategory({taxpayer->BAN, type, folder, period.period()})) {
    case index::EditOutcome::Imported:
      context.out << "imported "
                  << store::IndexQueries(session.orbWin()).indexRowCount(taxpayer->BAN, type)
                  << " rows into " << store::indexTableOf(type) << " for " << taxpayer->BAN << '\n';
      return kExitOk;
    case index::EditOutcome::KeptExisting:
      context.err << "the existing index of " << type << " was kept\n";
      return kExitFailure;
    case index::EditOutcome::Stopped:
      break;
  }
  return kExitFailure;
}

const CommandRegistration kRegistration{Command{
    "import",
    "  athup-cli import --period YYY/MM --ban BAN --type T02|T08|TET [--folder DIR] [--yes]\n"
    "      Import the taxpayer's filing file BAN.T02, BAN.T08 or BAN.TET from DIR (default: the\n"
    "      period's default folder) into the category's index. The file must be the one uploaded\n"
    "      with the return. An existing index is replaced, with its documents, only with --yes.\n",
    runImport}};

}  // namespace
}  // namespace athup::cli
