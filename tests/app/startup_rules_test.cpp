#include "app/startup_rules.h"

#include <gtest/gtest.h>

#include "app/ini_settings_store.h"
#include "support/fixed_clock.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::app {
namespace {

using athup::testing::ScriptedInteraction;

TEST(StartupRulesTest, NoticeSourceChangesOnTheFirstDayOf2019) {
  EXPECT_EQ(noticeSourceName(testing::FixedClock(2018, 12, 31)), "readme.txt");
  EXPECT_EQ(noticeSourceName(testing::FixedClock(2019, 1, 1)), "readme_20190101.txt");
  EXPECT_EQ(noticeSourceName(testing::FixedClock(2024, 6, 1)), "readme_20190101.txt");
}

TEST(StartupRulesTest, VersionQuestion) {
  struct Case {
    const char* what;
    Answer answer;
    bool online;
    bool opensCheck;
    std::string message;
    int messageKind;
    std::string messageCaption;
  };
  const Case cases[] = {
      {"yes, online", Answer::Yes, true, true, "", 0, ""},
      {"yes, offline", Answer::Yes, false, false, "本機網路未連線，請確定連線後，再行檢查版本。",
       static_cast<int>(MessageKind::Plain), ""},
      {"no never probes the network", Answer::No, true, false, "建議營業人在上傳前再檢查一次。",
       static_cast<int>(MessageKind::Information), "版本檢查"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedInteraction ui;
    ui.answers.push_back(c.answer);
    int probes = 0;
    bool opened = false;
    askVersionCheck(
        ui,
        [&] {
          ++probes;
          return c.online;
        },
        [&] { opened = true; });

    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].what, "question");
    EXPECT_EQ(ui.shown[0].text, "是否檢查新版本？");
    EXPECT_EQ(ui.shown[0].caption, "版本檢查");
    EXPECT_EQ(ui.shown[0].kind, static_cast<int>(MessageKind::Warning));
    EXPECT_EQ(opened, c.opensCheck);
    EXPECT_EQ(probes, c.answer == Answer::Yes ? 1 : 0);
    if (c.message.empty()) {
      EXPECT_EQ(ui.shown.size(), 1u);
    } else {
      ASSERT_EQ(ui.shown.size(), 2u);
      EXPECT_EQ(ui.shown[1].text, c.message);
      EXPECT_EQ(ui.shown[1].kind, c.messageKind);
      EXPECT_EQ(ui.shown[1].caption, c.messageCaption);
    }
  }
}

TEST(StartupRulesTest, ShowWizardOnlyForOne) {
  athup::testing::TempDir dir;
  IniSettingsStore settings(dir / "orb.ini");
  EXPECT_FALSE(showWorkflowAtStart(settings));
  for (const auto& [value, shown] : {std::pair{"1", true}, {"0", false}, {"yes", false}}) {
    settings.writeString(kOrbKey, "ShowWizard", value);
    EXPECT_EQ(showWorkflowAtStart(settings), shown) << value;
  }
}

TEST(StartupRulesTest, ClosingRemovesTheCrcKeyPresentOrNot) {
  athup::testing::TempDir dir;
  IniSettingsStore settings(dir / "orb.ini");
  EXPECT_NO_THROW(onMainWindowClose(settings));
  settings.writeString(kCrcKey, "12345678", "1F");
  settings.writeString("Software\\Fiscus\\Orb\\CRC\\T02", "x", "y");
  settings.writeString(kOrbKey, "DBPath", "/db/");
  onMainWindowClose(settings);
  EXPECT_FALSE(settings.keyExists(kCrcKey));
  EXPECT_EQ(settings.readString(kOrbKey, "DBPath"), "/db/");
}

}  // namespace
}  // namespace athup::app
