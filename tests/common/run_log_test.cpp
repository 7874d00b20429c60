#include "common/run_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "common/big5.h"
#include "common/errors.h"
#include "support/fixed_clock.h"
#include "support/temp_dir.h"

namespace athup::common {
namespace {

class RunLogTest : public ::testing::Test {
 protected:
  athup::testing::TempDir m_dir;
  std::filesystem::path m_log = m_dir / "orb_Ath.log";
  athup::testing::FixedClock m_clock{2024, 3, 15, 9, 5, 7};
};

TEST_F(RunLogTest, HeaderThenOneBig5LinePerEvent) {
  startRunLog(m_log, m_clock);
  appendRunLog(m_log, "gDBPath=/data/DB/", m_clock);
  m_clock.set(2024, 3, 15, 14, 0, 59);
  appendRunLog(m_log, "上傳成功", m_clock);

  const std::string expected =
      "執行日期：1130315  執行時間：09:05:07\r\n"
      "[2024/03/15 09:05:07]：gDBPath=/data/DB/\r\n"
      "[2024/03/15 14:00:59]：上傳成功\r\n";
  EXPECT_EQ(athup::testing::readFile(m_log), utf8ToBig5(expected));
}

TEST_F(RunLogTest, ASecondStartKeepsOnlyWhatFollowsIt) {
  startRunLog(m_log, m_clock);
  appendRunLog(m_log, "first period", m_clock);
  m_clock.set(2024, 4, 1, 8, 0, 0);
  startRunLog(m_log, m_clock);
  appendRunLog(m_log, "second period", m_clock);
  EXPECT_EQ(athup::testing::readFile(m_log),
            utf8ToBig5("執行日期：1130401  執行時間：08:00:00\r\n"
                       "[2024/04/01 08:00:00]：second period\r\n"));
}

TEST_F(RunLogTest, NothingHappensWithoutAStartedLog) {
  appendRunLog(m_log, "too early", m_clock);
  EXPECT_FALSE(std::filesystem::exists(m_log));
}

TEST_F(RunLogTest, AStartThatCannotWriteIsSilentAndLaterLinesAreDropped) {
  // The program folder is a plain file, and the log name is taken by a folder.
  const auto notAFolder = m_dir.write("exe", "binary");
  EXPECT_NO_THROW(startRunLog(notAFolder / "orb_Ath.log", m_clock));
  EXPECT_NO_THROW(appendRunLog(notAFolder / "orb_Ath.log", "dropped", m_clock));

  std::filesystem::create_directory(m_log);
  EXPECT_NO_THROW(startRunLog(m_log, m_clock));
  EXPECT_NO_THROW(appendRunLog(m_log, "dropped", m_clock));
  EXPECT_TRUE(std::filesystem::is_directory(m_log));
}

TEST_F(RunLogTest, AReadOnlyFolderIsSilent) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  const auto folder = m_dir / "readonly";
  std::filesystem::create_directory(folder);
  std::filesystem::permissions(
      folder, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  EXPECT_NO_THROW(startRunLog(folder / "orb_Ath.log", m_clock));
  EXPECT_NO_THROW(appendRunLog(folder / "orb_Ath.log", "dropped", m_clock));
  EXPECT_FALSE(std::filesystem::exists(folder / "orb_Ath.log"));
  std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
}

TEST_F(RunLogTest, AFailedWriteToAnExistingLogIsReported) {
  // /dev/full exists and opens, but every write fails with "no space left".
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  EXPECT_THROW(appendRunLog("/dev/full", "lost line", m_clock), Error);
}

TEST_F(RunLogTest, CharactersOutsideBig5DoNotStopTheRun) {
  startRunLog(m_log, m_clock);
  EXPECT_NO_THROW(appendRunLog(m_log, "檔案😀.pdf", m_clock));
  const std::string log = athup::testing::readFile(m_log);
  EXPECT_NE(log.find(utf8ToBig5("]：檔案?.pdf\r\n")), std::string::npos);
}

}  // namespace
}  // namespace athup::common
