#include "gui/startup/logo_texts.h"

#include "app/startup_rules.h"
#include "gui/support/qt_text.h"

namespace athup::gui {

SplashWindow::Texts logoTexts(const app::VersionInfo& version, const app::ProgramLocation& program,
                              const Clock& clock, bool withWelcome) {
  SplashWindow::Texts texts;
  texts.picture = QPixmap(fromPath(program.deliveryFile("athup.png")));
  texts.title = QString::fromUtf8(kProgramTitle);
  texts.version = qs(app::versionLabel(version.gVersion));
  texts.versionDate = qs(version.gVersionDateText);
  if (withWelcome) texts.welcome = QString::fromUtf8(kWelcomeLine);
  if (auto notice = app::noticeLabelText(program.deliveryFile(app::noticeSourceName(clock)))) {
    texts.notice = qs(*notice);
  }
  return texts;
}

}  // namespace athup::gui
