// athup-cli media: writes the media folders of complete taxpayers, as the media window does.
#include <algorithm>
#include <ostream>
#include <string>

#include "cli/answering_interaction.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "upload/media/media_run.h"
#include "upload/media/media_units.h"

namespace athup::cli {
namespace {

int runMedia(CommandContext& context) {
  const IndexOptions options(context.args, {"period", "dest"}, {});
  const std::vector<std::string>& bans = options.words();
  const std::string destination = options.required("dest");
  AnsweringInteraction ui(context.err, false, std::nullopt);
  PeriodSession period(options.required("period"), ui);
  store::Database& orbWin = period.session().orbWin();
  // Only the taxpayers the media window would offer; anything else is refused before writing.
  const std::vector<std::string> complete = upload::MediaUnits::completeBans(orbWin);
  for (const auto& ban : bans) {
    if (std::find(complete.begin(), complete.end(), ban) == complete.end()) {
      context.err << ban
                  << " cannot be written: it has no attachment index, or an index row without "
                     "a document\n";
      return kExitFailure;
    }
  }
  upload::MediaRun media(ui, orbWin, period.session().orbCode(), period.period());
  return media.run(bans, destination).allWritten() ? kExitOk : kExitFailure;
}

const CommandRegistration kRegistration{Command{
    "media",
    "  athup-cli media --period YYY/MM --dest DIR BAN...\n"
    "      Write a folder DIR/BAN for each taxpayer with its index documents and checked copies\n"
    "      of its documents, for filing on media. Only taxpayers whose every index row has a\n"
    "      document are accepted. Exit 0 when every taxpayer was written, 1 with the messages\n"
    "      otherwise.\n",
    runMedia}};

}  // namespace
}  // namespace athup::cli
