#include "gui/index/index_window_context.h"

#include <QDialog>
#include <cmath>

namespace athup::gui {

int IndexWindowContext::run(QDialog& dialog) const {
  return runModal ? runModal(dialog) : dialog.exec();
}

QString amountText(double value) {
  const long long whole = std::llround(value);
  QString digits = QString::number(whole < 0 ? -whole : whole);
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3)
    digits.insert(i, QLatin1Char(','));
  return whole < 0 ? QLatin1Char('-') + digits : digits;
}

}  // namespace athup::gui
