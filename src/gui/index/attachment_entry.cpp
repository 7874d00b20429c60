#include "gui/index/attachment_entry.h"

#include "gui/index/import_step_window.h"
#include "gui/index/taxpayer_entry_window.h"

namespace athup::gui {

void AttachmentEntry::open(const IndexWindowContext& context, QWidget* parent) {
  TaxpayerEntryWindow entry(context, parent);
  (void)context.run(entry);
  if (!entry.taxpayer()) return;
  ImportStepWindow step(context, *entry.taxpayer(), parent);
  step.setWindowState(step.windowState() | Qt::WindowMaximized);
  (void)context.run(step);
}

}  // namespace athup::gui
