#include "gui/receipts/receipt_files_printing.h"

#include <QPointer>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "gui/receipts/receipt_print_window.h"
#include "gui/receipts/receipt_printer_output.h"
#include "receipts/receipt_batch.h"
#include "store/queries/last_upload_queries.h"
#include "store/queries/status_queries.h"
#include "store/queries/taxpayer_queries.h"

namespace athup::gui {

void printReceiptFiles(QWidget* parent, const ReceiptPrintingContext& context,
                       const std::vector<std::string>& masks, const QString& caption) {
  static QPointer<ReceiptPrintWindow> window;
  if (window.isNull()) {
    window = new ReceiptPrintWindow(parent);
  }
  window->setSource({context.reportFolder, context.applyYM, &context.athDb});
  window->setMasks(masks);
  window->setWindowTitle(caption);
  window->exec();

  const std::vector<std::string> bans = window->checkedBans();
  if (bans.empty()) {
    return;
  }
  store::StatusQueries status(context.orbWin);
  store::TaxpayerQueries taxpayers(context.orbCode);
  store::LastUploadQueries lastUploads(context.orbWin);
  receipts::ReceiptBatch batch({status, taxpayers, lastUploads},
                               {context.reportFolder, context.applyYM}, context.clock,
                               context.interaction);
  ReceiptPrinterOutput output(window, window->mode() == ReceiptPrintWindow::Mode::Preview);
  try {
    (void)batch.run(bans, output);
  } catch (const Error& failure) {
    context.interaction.showMessage(MessageKind::Error, failure.what());
  }
}

void printReceiptFiles(QWidget* parent, app::AppSession& session, Interaction& interaction,
                       const std::vector<std::string>& masks, const QString& caption) {
  app::DataQueries& queries = session.queries();
  printReceiptFiles(
      parent,
      {interaction, session.orbWin(), session.orbCode(), queries.athDb(), session.clock(),
       common::pathFromUtf8(session.folders().gReportPath), session.period().gApplyYM},
      masks, caption);
}

}  // namespace athup::gui
