#pragma once

#include <QDialog>

#include "app/version_check.h"

class QLabel;

namespace athup::gui {

// "(ORBWS005)版本與訊息檢查": the local and online versions, the outcome and, when an update is
// needed, the download address as a link that opens in the desktop's browser. The check itself
// has run before (app::runVersionCheck); this window only shows its texts.
class VersionCheckWindow : public QDialog {
  Q_OBJECT
 public:
  explicit VersionCheckWindow(const app::VersionCheckOutcome& outcome, QWidget* parent = nullptr);

  [[nodiscard]] QLabel* label(const char* name) const;

 private:
  QLabel* addLabel(const char* name, const QString& text);
};

}  // namespace athup::gui
