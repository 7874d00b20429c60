#pragma once

#include <QDialog>
#include <optional>

#include "gui/index/index_window_context.h"
#include "store/queries/taxpayer_record.h"

class QLineEdit;

namespace athup::gui {

// The taxpayer entry (附件資料登錄): the BAN the attachment work is for. Accepted once a
// taxpayer of the master is chosen.
class TaxpayerEntryWindow : public QDialog {
  Q_OBJECT
 public:
  TaxpayerEntryWindow(const IndexWindowContext& context, QWidget* parent = nullptr);

  [[nodiscard]] const std::optional<store::TaxpayerRecord>& taxpayer() const { return m_taxpayer; }
  [[nodiscard]] QLineEdit* banEdit() const { return m_ban; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void confirm();

  const IndexWindowContext& m_context;
  QLineEdit* m_ban;
  std::optional<store::TaxpayerRecord> m_taxpayer;
};

}  // namespace athup::gui
