#pragma once

#include <QStringList>
#include <functional>
#include <string>

#include "common/interaction.h"
#include "store/engine/database.h"

class QDialog;
class QWidget;

namespace athup::gui {

// What the attachment-index windows work on: the port, the period's tables and folders, and the
// seams the window tests replace (modal runs and the document choice).
struct IndexWindowContext {
  Interaction& interaction;
  store::Database& orbWin;
  store::Database& orbCode;
  std::string period;         // gDataYM
  std::string defaultFolder;  // gPeriodDefaultPath
  std::string helpPath;       // gHelpPath
  std::string docDir;         // the shared documents folder (the path file)
  // Shows a modal window; QDialog::exec unless a test replaces it.
  std::function<int(QDialog&)> runModal;
  // The documents chosen with "瀏覽"; empty when cancelled. A file dialog unless replaced.
  std::function<QStringList(QWidget*)> chooseDocuments;

  [[nodiscard]] int run(QDialog& dialog) const;
};

// "###,###,###,##0": a whole number with thousands separators.
[[nodiscard]] QString amountText(double value);

}  // namespace athup::gui
