#include "gui/receipts/receipt_files_printing.h"

#include <QPointer>

#include "common/errors.h"
#include "common/file_helpers.h"
#include "gui/receipts/receipt_print_window.h"
#include "gui/receipts/receipt_printer_output.h"
#include "receipts/receipt_batch.h"
#include "store/queries/status_queries.h"

namespace athup::gui {

void printReceiptFiles(QWidget* parent, app::AppSession& session, Interaction& interaction,
                       const std::vector<std::string>& masks, const QString& caption) {
  app::DataQueries& queries = session.queries();
  static QPointer<ReceiptPrintWindow> window;
  if (window.isNull()) {
    window = new ReceiptPrintWindow(parent);
  }
  const std::filesystem::path reportFolder = common::pathFromUtf8(session.folders().gReportPath);
  window->setSource({reportFolder, session.period().gApplyYM, &queries.athDb()});
  window->setMasks(masks);
  window->setWindowTitle(caption);
  window->exec();

  const std::vector<std::string> bans = window->checkedBans();
  if (bans.empty()) {
    return;
  }
  store::StatusQueries status(session.orbWin());
  receipts::ReceiptBatch batch({status, queries.taxpayers(), queries.lastUploads()},
                               {reportFolder, session.period().gApplyYM}, session.clock(),
                               interaction);
  ReceiptPrinterOutput output(window, window->mode() == ReceiptPrintWindow::Mode::Preview);
  try {
    (void)batch.run(bans, output);
  } catch (const Error& failure) {
    interaction.showMessage(MessageKind::Error, failure.what());
  }
}

}  // namespace athup::gui
