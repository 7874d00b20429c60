#pragma once

#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "app/app_session.h"
#include "common/clock.h"
#include "common/interaction.h"
#include "store/engine/database.h"

class QWidget;

namespace athup::gui {

inline constexpr const char* kReceiptWindowCaption = "附件上傳收執聯列印";

// What the batch printing works on.
struct ReceiptPrintingContext {
  Interaction& interaction;
  store::Database& orbWin;   // the status lines while a receipt prints, the last-upload office
  store::Database& orbCode;  // the taxpayer master for the receipt
  store::Database& athDb;    // the taxpayer master for the list (alias ATH_DB)
  const Clock& clock;
  std::filesystem::path reportFolder;  // gReportPath
  std::string applyYM;                 // gApplyYM
};

// The result window's "列印收執聯": opens the batch printing for the receipt files the masks find
// in the period's report folder (the result window passes "*.prn"), then previews or prints the
// receipt of every taxpayer still checked when it closes, however it was closed. Messages go
// through the port. The window is created once and reused.
void printReceiptFiles(QWidget* parent, const ReceiptPrintingContext& context,
                       const std::vector<std::string>& masks,
                       const QString& caption = QString::fromUtf8(kReceiptWindowCaption));

// The same for the running session's period; raises athup::Error when the shared lookups are
// not available.
void printReceiptFiles(QWidget* parent, app::AppSession& session, Interaction& interaction,
                       const std::vector<std::string>& masks,
                       const QString& caption = QString::fromUtf8(kReceiptWindowCaption));

}  // namespace athup::gui
