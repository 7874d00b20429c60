// athup-cli upload: the upload of one taxpayer's attachments as the upload window runs it, with
// the certificate and its secret given on the command line.
#include <unistd.h>

#include <iostream>
#include <ostream>
#include <string>

#include "app/filing_context_builder.h"
#include "app/lookup_reports.h"
#include "cli/certificate_flags.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "store/queries/taxpayer_queries.h"
#include "upload/run/upload_run.h"

namespace athup::cli {
namespace {

// Progress only on a terminal, where the line is rewritten in place.
bool isTerminal(const std::ostream& err) {
  return &err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
}

int runUpload(CommandContext& context) {
  const IndexOptions options(
      context.args, {"period", "ban", "cert-type", "password-file", "pin-file"}, {"test-card"});
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const std::string ban = options.required("ban");
  CertificateFlags flags(options, context.in, context.err);
  CertificateInteraction& ui = flags.interaction();
  PeriodSession period(options.required("period"), ui);
  app::AppSession& session = period.session();
  session.loadVersion();  // the version the server is told; placeholders without a record
  app::CertificateSession& certificate = flags.certificate(session.settings());
  upload::UploadRun run(ui, certificate, app::buildFilingContext(session), session.orbWin(),
                        session.orbCode());
  store::TaxpayerQueries taxpayers(session.orbCode());
  run.setTaxpayerLookup([&](const std::string& typed) {
    return app::findTaxpayerOrReport(taxpayers, ui, typed).has_value();
  });
  const bool terminal = isTerminal(context.err);
  if (terminal) {
    run.setObserver([&](const upload::UploadProgress& progress) {
      if (!progress.checked || progress.done < 0) return;
      context.err << "\rsent " << progress.done << " of " << progress.total << " files, "
                  << progress.bytesSent << " bytes" << std::flush;
    });
  }
  const upload::UploadOutcome outcome = run.run(ban);
  if (terminal) context.err << "\n";
  if (!outcome.completed()) return kExitFailure;
  context.out << "uploaded " << outcome.done << " files of " << ban << "\n";
  return kExitOk;
}

const CommandRegistration kRegistration{Command{
    "upload",
    "  athup-cli upload --period YYY/MM --ban BAN --cert-type 1|2 "
    "(--password-file F | --pin-file F) [--test-card]\n"
    "      Check the taxpayer's index as the upload does, then send every assigned document\n"
    "      and each category's index document to the filing server (settings ath_upd, trusted\n"
    "      through ca_file). Type 1 reads the account password, type 2 the card PIN from the\n"
    "      first line of F (\"-\": standard input); --test-card signs with the test card the\n"
    "      filing-server simulator accepts. Nothing is prompted. Exit 0 when every file was\n"
    "      accepted, 1 with the message otherwise; progress goes to standard error when it is\n"
    "      a terminal.\n",
    runUpload}};

}  // namespace
}  // namespace athup::cli
