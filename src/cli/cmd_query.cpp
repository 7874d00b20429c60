// athup-cli query: the result query of the result window for one taxpayer: asks the filing
// server, stores the status lines and prints them.
#include <fstream>
#include <istream>
#include <ostream>
#include <string>

#include "app/certificate_session.h"
#include "app/filing_context_builder.h"
#include "app/lookup_reports.h"
#include "cli/certificate_interaction.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "common/errors.h"
#include "common/file_helpers.h"
#include "security/certificates/test_card_client.h"
#include "store/queries/taxpayer_queries.h"
#include "upload/query/result_query.h"

namespace athup::cli {
namespace {

// The first line of the file, or of standard input for "-", without its line end.
std::string readSecret(const std::string& file, std::istream& in, const char* what) {
  std::ifstream opened;
  if (file != "-") {
    opened.open(common::pathFromUtf8(file), std::ios::binary);
    if (!opened) throw Error(std::string("cannot read the ") + what + " file \"" + file + "\"");
  }
  std::istream& from = file == "-" ? in : opened;
  std::string line;
  if (!std::getline(from, line) && line.empty()) throw Error(std::string("no ") + what + " given");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

int runQuery(CommandContext& context) {
  const IndexOptions options(
      context.args, {"period", "ban", "cert-type", "password-file", "pin-file"}, {"test-card"});
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const std::string ban = options.required("ban");
  const std::string certType = options.required("cert-type");
  if (certType != "1" && certType != "2") throw UsageError("--cert-type is 1 or 2");
  const char* secretOption = certType == "1" ? "password-file" : "pin-file";
  const auto secretFile = options.value(secretOption);
  if (!secretFile)
    throw UsageError(std::string("--cert-type ") + certType + " needs --" + secretOption);
  if (options.value(certType == "1" ? "pin-file" : "password-file"))
    throw UsageError(std::string("--cert-type ") + certType + " takes --" + secretOption + " only");
  const std::string secret =
      readSecret(*secretFile, context.in, certType == "1" ? "password" : "PIN");

  CertificateInteraction ui(context.err, certType == "1" ? 0 : 1, secret);
  PeriodSession period(options.required("period"), ui);
  app::AppSession& session = period.session();
  const upload::FilingContext filing = app::buildFilingContext(session);

  security::NoCardClient noCard;
  security::TestCardClient testCard;
  security::CardClient& card =
      options.flag("test-card") ? static_cast<security::CardClient&>(testCard) : noCard;
  app::CertificateSession certificate(ui, card, session.settings());
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
