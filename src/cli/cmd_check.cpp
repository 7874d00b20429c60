// athup-cli check: the pre-upload checks of a taxpayer's index, in the upload's order.
#include <ostream>
#include <string>

#include "cli/answering_interaction.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "index/flows/index_checks.h"

namespace athup::cli {
namespace {

int runCheck(CommandContext& context) {
  const IndexOptions options(context.args, {"period", "ban", "folder"}, {"yes"});
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const std::string ban = options.required("ban");
  AnsweringInteraction ui(context.err, options.flag("yes"), options.value("folder"));
  PeriodSession period(options.required("period"), ui);
  index::IndexChecks checks(ui, period.session().orbWin(), period.session().orbCode(),
                            period.period());
  if (!checks.runAll(ban)) return kExitFailure;
  context.out << "the index of " << ban << " is ready for upload\n";
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "check",
    "  athup-cli check --period YYY/MM --ban BAN [--yes] [--folder DIR]\n"
    "      Check the index against the last return upload, that every T02 and T08 row has a\n"
    "      document and that every document is unchanged; exit 0 when all pass, 1 with the\n"
    "      message otherwise. A return with a .T02 file but no T02 index needs --yes and the\n"
    "      folder of the uploaded BAN.T02 in --folder.\n",
    runCheck}};

}  // namespace
}  // namespace athup::cli
