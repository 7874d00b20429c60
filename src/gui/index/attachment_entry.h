#pragma once

#include "gui/index/index_window_context.h"

class QWidget;

namespace athup::gui {

// The menu entry 附件資料登錄 and the workflow window's first area: the taxpayer entry, then
// step 1 for the taxpayer chosen.
class AttachmentEntry {
 public:
  static void open(const IndexWindowContext& context, QWidget* parent);
};

}  // namespace athup::gui
