#include "gui/startup/logo_texts.h"

#include "app/startup_rules.h"
#include "gui/support/qt_text.h"

namespace athup::gui {

TfrmORBLogo::Texts logoTexts(const app::VersionInfo& version, const app::ProgramLocation& program,
                             const Clock& clock, bool withWelcome) {
  TfrmORBLogo::Texts texts;
  texts.picture = QPixmap(fromPath(program.deliveryFile("athup.png")));
  texts.title = QString::fromUtf8(kProgramTitle);
  texts.version = qs(app::VersionLabel(version.gVersion));
  texts.versionDate = qs(version.gVersionDateText);
  if (withWelcome) texts.welcome = QString::fromUtf8(kWelcomeLine);
  if (auto notice = app::NoticeLabelText(program.deliveryFile(app::NoticeSourceName(clock)))) {
    texts.notice = qs(*notice);
  }
  return texts;
}

}  // namespace athup::gui
