// athup-cli query: the result query of the result window for one taxpayer: asks the filing
// server, stores the status lines and prints them.
#include <istream>
#include <ostream>
#include <string>

#include "app/filing_context_builder.h"
#include "app/lookup_reports.h"
#include "cli/certificate_flags.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "store/queries/taxpayer_queries.h"
#include "upload/query/result_query.h"

namespace athup::cli {
namespace {

int runQuery(CommandContext& context) {
  const IndexOptions options(
      context.args, {"period", "ban", "cert-type", "password-file", "pin-file"}, {"test-card"});
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const std::string ban = options.required("ban");
  CertificateFlags flags(options, context.in, context.err);
  CertificateInteraction& ui = flags.interaction();
  PeriodSession period(options.required("period"), ui);
  app::AppSession& session = period.session();
  session.loadVersion();  // the version the server is told, as the upload tells it
  const upload::FilingContext filing = app::buildFilingContext(session);

  app::CertificateSession& certificate = flags.certificate(session.settings());
  store::TaxpayerQueries taxpayers(session.orbCode());
  upload::ResultQuery query(filing, session.orbWin(), certificate, ui,
                            [&](const std::string& typed) {
                              return app::findTaxpayerOrReport(taxpayers, ui, typed).has_value();
                            });
  const auto outcome = query.search(ban);
  if (!outcome) return kExitFailure;
  for (const auto& line : outcome->statusLines) context.out << line << '\n';
  context.out << "status " << outcome->header.status << '\n';
  return outcome->answered ? kExitOk : kExitFailure;
}

const CommandRegistration kRegistration{Command{
    "query",
    "  athup-cli query --period YYY/MM --ban BAN --cert-type 1|2 (--password-file F | --pin-file F)"
    " [--test-card]\n"
    "      Ask the filing server (settings ath_upd, trusted through ca_file) for the result of\n"
    "      the taxpayer's upload, store its status lines, print them and then the header's\n"
    "      status. Type 1 reads the account password, type 2 the card PIN from the first line of\n"
    "      F (\"-\": standard input); --test-card signs with the test card the filing-server\n"
    "      simulator accepts. Nothing is prompted. Exit 0 when the server answered, 1 with the\n"
    "      message otherwise.\n",
    runQuery}};

}  // namespace
}  // namespace athup::cli
