#include "app/version_record.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/version_text.h"
#include "security/cipher/crypt_file.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::app {
namespace {

class VersionRecordTest : public ::testing::Test {
 protected:
  // Writes the record beside the "program" the way the release build does: an encrypted INI.
  std::filesystem::path writeRecord(std::string_view iniText) {
    const auto plain = m_dir.write("plain.ini", iniText);
    const auto record = m_dir / "program" / "version";
    std::filesystem::create_directories(record.parent_path());
    EXPECT_NO_THROW(security::cryptFileByMode(plain, record, security::CryptMode::Encrypt));
    std::filesystem::remove(plain);
    return record;
  }

  bool folderIsEmpty(const std::filesystem::path& folder) {
    return std::filesystem::is_empty(folder);
  }

  testing::TempDir m_dir;
  testing::TempDir m_temp;
  athup::testing::ScriptedInteraction m_ui;
};

TEST_F(VersionRecordTest, KnownRecordGivesItsLabelsAndLeavesNoPlainCopy) {
  const auto record = writeRecord("[Version]\r\nnow=105\r\n[VersionDate]\r\ndate=1080315\r\n");

  const VersionInfo info = loadVersionInfo(record, m_ui, m_temp.path());

  EXPECT_EQ(info.gVersion, "105");
  EXPECT_EQ(info.gVersionDate, "1080315");
  EXPECT_EQ(versionLabel(info.gVersion), "Version 1.05");
  EXPECT_EQ(info.gVersionDateText, "版本日期：108年03月15日");
  EXPECT_TRUE(m_ui.messages().empty());
  EXPECT_TRUE(folderIsEmpty(m_temp.path()));
  EXPECT_FALSE(std::filesystem::exists(record.parent_path() / "version.ini"));
}

// A record written by hand ("now = 105") reads as the INI reader of the workstation gives it:
// without the blanks around the value, so the splash, the caption and the requests agree.
TEST_F(VersionRecordTest, BlanksAroundTheValuesAreNotPartOfThem) {
  const auto record =
      writeRecord("[Version]\r\nnow = 105 \r\n[VersionDate]\r\ndate =\t1080315  \r\n");

  const VersionInfo info = loadVersionInfo(record, m_ui, m_temp.path());

  EXPECT_EQ(info.gVersion, "105");
  EXPECT_EQ(info.gVersionDate, "1080315");
  EXPECT_EQ(versionLabel(info.gVersion), "Version 1.05");
  EXPECT_EQ(info.gVersionDateText, "版本日期：108年03月15日");
}

TEST_F(VersionRecordTest, MissingRecordGivesPlaceholders) {
  std::string version;
  std::string date;
  EXPECT_FALSE(readVersionInfo(m_dir / "version", version, date, m_ui, m_temp.path()));
  EXPECT_EQ(version, "xxxx");
  EXPECT_EQ(date, "xxxxxxxx");
  EXPECT_EQ(versionLabel(version), "Version 0.00");
  EXPECT_EQ(versionDateText(date), "版本日期：xxx年xx月xx日");
  EXPECT_TRUE(m_ui.messages().empty());
}

TEST_F(VersionRecordTest, UndecryptableRecordShowsTheCipherMessageAndKeepsTheValues) {
  const auto record = m_dir.write("program/version", std::string(64, 'Z'));
  std::string version;
  std::string date;

  const VersionInfo info = loadVersionInfo(record, m_ui, m_temp.path());

  EXPECT_EQ(m_ui.messages().size(), 1u);
  EXPECT_EQ(info.gVersion, "");
  EXPECT_EQ(versionLabel(info.gVersion), "Version 0.00");
  EXPECT_EQ(info.gVersionDateText, "版本日期：年月日");
  EXPECT_TRUE(folderIsEmpty(m_temp.path()));
}

TEST(VersionLabelTest, NumbersInHundredths) {
  const std::pair<const char*, const char*> cases[] = {
      {"105", "Version 1.05"}, {"1000", "Version 10.00"}, {"7", "Version 0.07"},
      {"", "Version 0.00"},    {"1.5x", "Version 0.00"},
  };
  for (const auto& [version, label] : cases) EXPECT_EQ(versionLabel(version), label) << version;
}

TEST(VersionNumberTextTest, TheVersionSentWithRequestsIsInHundredths) {
  const std::pair<const char*, const char*> cases[] = {
      {"105", "1.05"}, {"1234", "12.34"}, {"7", "0.07"},
      {"", "0.00"},    {"1.0a", "0.00"},  {" 200 ", "2.00"},
  };
  for (const auto& [version, text] : cases) EXPECT_EQ(versionNumberText(version), text) << version;
}

}  // namespace
}  // namespace athup::app
