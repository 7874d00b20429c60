// athup-cli receipts: the receipt files of a period, listed as the batch printing lists them, and
// their receipts written into one PDF.
#include <filesystem>
#include <ostream>
#include <string>
#include <system_error>
#include <vector>

#include "cli/answering_interaction.h"
#include "cli/command.h"
#include "cli/index_options.h"
#include "cli/period_session.h"
#include "common/file_helpers.h"
#include "receipts/receipt_batch.h"
#include "receipts/receipt_file_list.h"
#include "receipts/receipt_listing.h"
#include "store/engine/database.h"
#include "store/queries/last_upload_queries.h"
#include "store/queries/status_queries.h"
#include "store/queries/taxpayer_queries.h"

#ifdef ATHUP_HAVE_RECEIPT_PDF
#include <QByteArray>
#include <QGuiApplication>

#include "gui/receipts/receipt_pdf_output.h"
#endif

namespace athup::cli {
namespace {

receipts::ReceiptSortKey sortKeyOf(const std::string& name) {
  if (name == "ban") return receipts::ReceiptSortKey::Ban;
  if (name == "losn") return receipts::ReceiptSortKey::Losn;
  if (name == "time") return receipts::ReceiptSortKey::UploadTime;
  throw UsageError("--sort takes ban, losn or time, not \"" + name + "\"");
}

int runList(CommandContext& context, const IndexOptions& options) {
  if (!options.words().empty())
    throw UsageError("unexpected argument \"" + options.words()[0] + "\"");
  const auto key = sortKeyOf(options.value("sort").value_or("ban"));
  AnsweringInteraction ui(context.err, false, std::nullopt);
  PeriodSession period(options.required("period"), ui);
  app::AppSession& session = period.session();
  const auto files = receipts::findReceiptFiles(common::pathFromUtf8(session.folders().gReportPath),
                                                {"*.prn"}, session.period().gApplyYM);
  if (files.empty()) return kExitOk;
  store::Database athDb;
  athDb.open("ATH_DB", common::pathFromUtf8(session.codeFolder()));
  const auto order = options.flag("desc") ? receipts::kDescending : receipts::kAscending;
  context.out << receipts::receiptListHeading(key, order) << '\n';
  for (const std::string& line : receipts::receiptDisplayLines(files, athDb, key, order)) {
    context.out << line << '\n';
  }
  return kExitOk;
}

#ifdef ATHUP_HAVE_RECEIPT_PDF
// Fonts and the PDF writer need a GUI application; the offscreen platform needs no display.
void ensureGuiApplication() {
  if (QGuiApplication::instance() != nullptr) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "athup-cli";
  static char* argv[] = {name, nullptr};
  // Lives until the process ends: Qt must not be torn down while static objects still use it.
  new QGuiApplication(argc, argv);
}
#endif

int runPrint(CommandContext& context, const IndexOptions& options) {
  const std::vector<std::string>& bans = options.words();
  if (bans.empty()) throw UsageError("name at least one BAN");
  const std::string pdf = options.required("pdf");
#ifdef ATHUP_HAVE_RECEIPT_PDF
  AnsweringInteraction ui(context.err, false, std::nullopt);
  PeriodSession period(options.required("period"), ui);
  app::AppSession& session = period.session();
  ensureGuiApplication();
  store::StatusQueries status(session.orbWin());
  store::TaxpayerQueries taxpayers(session.orbCode());
  store::LastUploadQueries lastUploads(session.orbWin());
  receipts::ReceiptBatch batch(
      {status, taxpayers, lastUploads},
      {common::pathFromUtf8(session.folders().gReportPath), session.period().gApplyYM},
      session.clock(), ui);
  gui::ReceiptPdfOutput output(QString::fromStdString(pdf));
  if (!batch.run(bans, output)) {
    // A stopped batch leaves no PDF that looks complete.
    (void)output.finish();
    std::error_code ignored;
    std::filesystem::remove(common::pathFromUtf8(pdf), ignored);
    return kExitFailure;
  }
  const int pages = output.finish();
  if (pages == 0) {
    context.err << "none of the taxpayers has a receipt file of the period; no PDF written\n";
    return kExitFailure;
  }
  context.out << "wrote " << pages << " page(s) to " << pdf << '\n';
  return kExitOk;
#else
  (void)pdf;
  context.err << "this athup-cli was built without Qt and cannot write PDF files\n";
  return kExitFailure;
#endif
}

int runReceipts(CommandContext& context) {
  if (context.args.empty()) throw UsageError("receipts needs list or print");
  const std::string action = context.args.front();
  const std::vector<std::string> rest(context.args.begin() + 1, context.args.end());
  if (action == "list") return runList(context, IndexOptions(rest, {"period", "sort"}, {"desc"}));
  if (action == "print") return runPrint(context, IndexOptions(rest, {"period", "pdf"}, {}));
  throw UsageError("receipts needs list or print, not \"" + action + "\"");
}

const CommandRegistration kRegistration{Command{
    "receipts",
    "  athup-cli receipts list --period YYY/MM [--sort ban|losn|time] [--desc]\n"
    "      List the taxpayers with a receipt file of the period as the batch printing does:\n"
    "      the header bar, then one line per taxpayer (BAN, registration number, name, file\n"
    "      time).\n"
    "  athup-cli receipts print --period YYY/MM --pdf OUT.pdf BAN...\n"
    "      Write the receipt of every BAN, in the order given, into one PDF file. A receipt\n"
    "      file that does not decrypt stops the batch (exit 1); a BAN without one is skipped.\n",
    runReceipts}};

}  // namespace
}  // namespace athup::cli
