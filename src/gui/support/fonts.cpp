#include "gui/support/fonts.h"

#include <QStringList>

namespace athup::gui {

void installFontSubstitutions() {
  QFont::insertSubstitutions(
      QString::fromUtf8(kMingFamily),
      {QStringLiteral("AR PL UMing TW"), QStringLiteral("AR PL UMing TW MBE"),
       QStringLiteral("AR PL UMing HK"), QStringLiteral("MingLiU"), QStringLiteral("PMingLiU")});
  QFont::insertSubstitutions(QString::fromUtf8(kKaiFamily),
                             {QStringLiteral("AR PL UKai TW"), QStringLiteral("AR PL UKai TW MBE"),
                              QStringLiteral("AR PL UKai HK"), QStringLiteral("DFKai-SB")});
}

QFont mingFont(int pixelSize) {
  QFont font(QString::fromUtf8(kMingFamily));
  font.setPixelSize(pixelSize);
  return font;
}

QFont kaiFont(int pixelSize) {
  QFont font(QString::fromUtf8(kKaiFamily));
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace athup::gui
