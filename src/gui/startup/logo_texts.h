#pragma once

#include "app/program_location.h"
#include "app/version_record.h"
#include "common/clock.h"
#include "gui/startup/splash_window.h"

namespace athup::gui {

inline constexpr char kProgramTitle[] = "營業稅申報附件上傳系統";
// The splash's bottom line at start-up.
inline constexpr char kWelcomeLine[] = "歡迎使用營業稅申報附件上傳系統，請按任意鍵繼續…";

// What the splash shows: the version labels of the record read at start-up, the notice lines of
// the readme in force today and the program's mark; the welcome line only at start-up.
[[nodiscard]] SplashWindow::Texts logoTexts(const app::VersionInfo& version,
                                            const app::ProgramLocation& program, const Clock& clock,
                                            bool withWelcome);

}  // namespace athup::gui
