#include "upload/media/media_run.h"

#include <gtest/gtest.h>

#include "attachment_rows_fixture.h"
#include "common/file_helpers.h"
#include "store/queries/taxpayer_queries.h"
#include "upload/media/media_units.h"

namespace athup::upload::testing {
namespace {

using athup::testing::readFile;
using index::testing::kBan;
using index::testing::kOtherBan;
using index::testing::kPeriod;

constexpr const char* kIncompleteBan = "11111111";

class MediaRunTest : public AttachmentRowsFixture {
 protected:
  fs::path dest = dir / "media";

  void SetUp() override {
    AttachmentRowsFixture::SetUp();
    fs::create_directories(dest);
    addIndexRow("ORBDB_ATH_T02", kBan, "T02000001");
    first = attach(kBan, "T02000001", "T02000001_0", "first document");
    addIndexRow("ORBDB_ATH_T08", kBan, "T08000001");
    second = attach(kBan, "T08000001", "T08000001_0", "second document");
    addIndexRow("ORBDB_ATH_T08", kOtherBan, "T08000001");
    other = attach(kOtherBan, "T08000001", "T08000001_0", "other document");
    addIndexRow("ORBDB_ATH_T02", kIncompleteBan, "T02000001");
  }

  MediaRunResult run(const std::vector<std::string>& bans, const std::string& destination) {
    return MediaRun(ui, orbWin, orbCode, kPeriod).run(bans, destination);
  }

  std::string completion(const std::string& ban) const {
    return "產檔完成!\r目的資料夾：" + common::withTrailingSeparator(dest.string()) + ban +
           common::kPathSeparator;
  }

  fs::path first, second, other;
};

TEST_F(MediaRunTest, ListsTheCompleteTaxpayersWithTheirNames) {
  store::TaxpayerQueries taxpayers(orbCode);
  const auto nameOf = [&](std::string_view ban) {
    const auto record = taxpayers.findTaxpayer(ban);
    return record ? record->BAN_NM_X30 : std::string();
  };
  EXPECT_EQ(MediaUnits::entries(orbWin, nameOf),
            (std::vector<std::string>{"12345678(測試商行)", "87654321()"}));
  for (const auto& [entry, ban] : std::vector<std::pair<std::string, std::string>>{
           {"12345678(測試商行)", kBan}, {"1234(名)", "1234"}, {"12345678(a(b))", kBan}}) {
    EXPECT_EQ(MediaUnits::banOfEntry(entry), ban);
  }

  // A return-header row without a document makes its taxpayer incomplete too; once the zero-rate
  // row has its document, the other taxpayer is listed.
  addIndexRow("ORBDB_ATH_TET", kOtherBan, "TET000001");
  attach(kIncompleteBan, "T02000001", "late", "late");
  EXPECT_EQ(MediaUnits::completeBans(orbWin), (std::vector<std::string>{kIncompleteBan, kBan}));
}

TEST_F(MediaRunTest, WarnsOnActivationWhileAnIndexIsIncomplete) {
  MediaRun media(ui, orbWin, orbCode, kPeriod);
  media.warnWhenIncomplete();
  EXPECT_EQ(ui.messages(), std::vector<std::string>{MediaRun::kIncompleteWarning});
  attach(kIncompleteBan, "T02000001", "late", "late");
  media.warnWhenIncomplete();
  EXPECT_EQ(ui.messages().size(), 1U);
}

TEST_F(MediaRunTest, WritesAFolderPerTaxpayerWithOrWithoutTrailingSeparator) {
  for (const std::string& destination :
       {dest.string(), common::withTrailingSeparator(dest.string()), "  " + dest.string() + " "}) {
    SCOPED_TRACE(destination);
    ui.shown.clear();
    fs::remove_all(dest);
    fs::create_directories(dest);
    const MediaRunResult result = run({kBan, kOtherBan}, destination);
    EXPECT_TRUE(result.allWritten());
    EXPECT_EQ(result.written, 2);
    EXPECT_EQ(ui.messages(), std::vector<std::string>{completion(kOtherBan)});
    EXPECT_EQ(readFile(dest / kBan / "T02000001_0.pdf"), "first document");
    EXPECT_EQ(readFile(dest / kBan / "T08000001_0.pdf"), "second document");
    EXPECT_EQ(readFile(dest / kOtherBan / "T08000001_0.pdf"), "other document");
    const std::string index = readFile(dest / kBan / "12345678_08.xml");
    EXPECT_NE(index.find("<上傳序號></上傳序號>\r\n<上傳日期></上傳日期>\r\n"), std::string::npos);
    EXPECT_TRUE(fs::exists(dest / kBan / "12345678_02.xml"));
    EXPECT_TRUE(fs::exists(dest / kOtherBan / "87654321_08.xml"));
  }
}

TEST_F(MediaRunTest, ReportsTheFailedDocumentAndGoesOnWithTheNextTaxpayer) {
  struct Case {
    const char* name;
    bool remove;  // else edited
    const char* problem;
  };
  for (const auto& c :
       {Case{"changed", false, " 內容已被更改，"}, Case{"missing", true, " 不存在，"}}) {
    SCOPED_TRACE(c.name);
    ui.shown.clear();
    fs::remove_all(dest);
    fs::create_directories(dest);
    dir.write("docs/12345678/T02000001_0.pdf", c.remove ? "first document" : "edited");
    if (c.remove) fs::remove(first);

    const MediaRunResult result = run({kBan, kOtherBan}, dest.string());
    EXPECT_FALSE(result.allWritten());
    EXPECT_EQ(result.written, 1);
    EXPECT_EQ(result.failed, 1);
    ASSERT_EQ(ui.messages().size(), 2U);
    EXPECT_EQ(ui.messages()[0],
              "統一編號 12345678 的媒體檔未完成：\n附件清單中，零稅率銷售額的檔案：" +
                  first.string() + c.problem + "\n請重新設定．");
    EXPECT_EQ(ui.messages()[1], "媒體檔產生未完成：1 個單位已產生，1 個單位失敗。");
    // Neither the failed document nor the ones after it are copied; the next taxpayer is whole.
    EXPECT_FALSE(fs::exists(dest / kBan / "T02000001_0.pdf"));
    EXPECT_FALSE(fs::exists(dest / kBan / "T08000001_0.pdf"));
    EXPECT_EQ(readFile(dest / kOtherBan / "T08000001_0.pdf"), "other document");
  }
}

TEST_F(MediaRunTest, StopsWithoutTaxpayersOrDestination) {
  EXPECT_TRUE(run({}, dest.string()).stopped);
  for (const std::string& destination : {(dir / "absent").string(), std::string("   ")}) {
    EXPECT_TRUE(run({kBan}, destination).stopped);
  }
  EXPECT_EQ(ui.messages(),
            (std::vector<std::string>{MediaRun::kNothingPicked, MediaRun::kNoDestination,
                                      MediaRun::kNoDestination}));
  EXPECT_TRUE(fs::is_empty(dest));
}

TEST_F(MediaRunTest, RefusesAStoredNameThatLeavesTheFolder) {
  orbWin.execute("UPDATE ORBDB_ATH_FILE SET FILE_NM = '../escaped' WHERE BAN = :BAN",
                 {{"BAN", kOtherBan}});
  const MediaRunResult result = run({kOtherBan}, dest.string());
  EXPECT_EQ(result.failed, 1);
  EXPECT_FALSE(fs::exists(dest / "escaped.pdf"));
}

}  // namespace
}  // namespace athup::upload::testing
