#include "store/queries/status_queries.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/clock.h"
#include "common/errors.h"
#include "store/catalogue/own_tables.h"
#include "support/temp_dir.h"

namespace athup::store {
namespace {

using athup::testing::TempDir;

constexpr const char* kA = "12345678";
constexpr const char* kB = "23456789";

std::string line(const std::string& code, const std::string& rest) {
  return "ORB001" + code + rest;
}

class StatusQueriesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "11305");
    orbWin.open("ORBWIN", dir / "11305");
    SystemClock clock;
    ASSERT_TRUE(preparePeriodTables(orbWin, CatalogueLog{dir / "orb_Ath.log", clock}).empty());
  }

  std::vector<std::pair<std::string, std::string>> rowsOf(const std::string& ban) {
    ResultSet rows = orbWin.query(
        "SELECT FILE_CD, STATUS_DATA FROM ORBDB1_ATH_STATUS WHERE BAN = :BAN ORDER BY rowid",
        {{"BAN", ban}});
    std::vector<std::pair<std::string, std::string>> out;
    for (rows.first(); !rows.eof(); rows.next())
      out.emplace_back(rows.text("FILE_CD"), rows.text("STATUS_DATA"));
    return out;
  }

  TempDir dir;
  Database orbWin;
  StatusQueries status{orbWin};
};

TEST_F(StatusQueriesTest, StoringReplacesOneTaxpayersLinesAndListsThemByTheirFullText) {
  ASSERT_TRUE(status.storeStatusLines(kB, {line("02", "B-line")}).empty());
  ASSERT_TRUE(status.storeStatusLines(kA, {line("02", "old")}).empty());

  const std::vector<std::string> lines = {line("14", "0001 z"),
                                          line("08", "0002 主機作業處理完成"),
                                          "   ",
                                          line("02", "0002 b"),
                                          line("02", "0001 c"),
                                          ""};
  EXPECT_TRUE(status.storeStatusLines(kA, lines).empty());

  const auto stored = rowsOf(kA);
  ASSERT_EQ(stored.size(), 4u);  // blank lines are not stored
  EXPECT_EQ(stored[0], std::make_pair(std::string("14"), line("14", "0001 z")));
  EXPECT_EQ(stored[1], std::make_pair(std::string("08"), line("08", "0002 主機作業處理完成")));
  EXPECT_EQ(status.statusLines(kA),
            (std::vector<std::string>{line("02", "0001 c"), line("02", "0002 b"),
                                      line("08", "0002 主機作業處理完成"), line("14", "0001 z")}));
  EXPECT_EQ(status.statusLines(kB), std::vector<std::string>{line("02", "B-line")});

  // A query that brought no lines empties the taxpayer's rows, and only those.
  EXPECT_TRUE(status.storeStatusLines(kA, {}).empty());
  EXPECT_TRUE(status.statusLines(kA).empty());
  EXPECT_EQ(status.statusLines(kB).size(), 1u);
}

TEST_F(StatusQueriesTest, ALineThatCannotBeStoredIsReturnedAndTheOthersAreStored) {
  const std::string tooWide = line("02", std::string(300, 'x'));
  const std::vector<std::string> refused =
      status.storeStatusLines(kA, {line("02", "first"), tooWide, line("08", "last")});
  EXPECT_EQ(refused, std::vector<std::string>{tooWide});
  EXPECT_EQ(status.statusLines(kA),
            (std::vector<std::string>{line("02", "first"), line("08", "last")}));
}

TEST_F(StatusQueriesTest, AFailingDeleteKeepsTheStoredLines) {
  ASSERT_TRUE(status.storeStatusLines(kA, {line("02", "kept")}).empty());
  orbWin.failEngineCall(2);  // BEGIN passes, the DELETE fails
  EXPECT_THROW((void)status.storeStatusLines(kA, {line("08", "new")}), Error);
  EXPECT_EQ(status.statusLines(kA), std::vector<std::string>{line("02", "kept")});
}

TEST_F(StatusQueriesTest, ShortLinesAndSingleInserts) {
  status.insertStatusLine(kA, "ORB00");
  status.insertStatusLine(kA, "ORB0010");
  status.insertStatusLine(kA, " \t ");
  const auto stored = rowsOf(kA);
  ASSERT_EQ(stored.size(), 2u);
  EXPECT_EQ(stored[0].first, "");
  EXPECT_EQ(stored[1].first, "0");
  status.deleteStatusLines(kA);
  EXPECT_TRUE(rowsOf(kA).empty());
}

}  // namespace
}  // namespace athup::store
