#include <gtest/gtest.h>

#include <string>

#include "common/clock.h"
#include "common/file_helpers.h"
#include "demo_data/demo_data_writer.h"
#include "index/flows/index_import_flow.h"
#include "store/catalogue/own_tables.h"
#include "store/queries/index_queries.h"
#include "support/scripted_interaction.h"
#include "support/temp_dir.h"

namespace athup::index {
namespace {

namespace fs = std::filesystem;

// Every filing file the demo data writes imports into as many rows as it has lines needing
// evidence, or is refused with the message for a file that was not uploaded.
TEST(DemoDataImportTest, EveryFilingFileImports) {
  athup::testing::TempDir dir;
  demodata::DemoDataOptions options;
  options.docDir = dir / "doc";
  options.period = "11302";
  options.seed = 7;
  const auto summary = demodata::writeDemoData(options);
  ASSERT_FALSE(summary.filingFiles.empty());

  store::Database orbWin;
  store::Database orbCode;
  orbWin.open("ORBWIN", options.docDir / "DB" / "11302");
  orbCode.open("ORBCODE", options.docDir / "DB" / "CODE");
  SystemClock clock;
  ASSERT_TRUE(
      store::preparePeriodTables(orbWin, store::CatalogueLog{dir / "run.log", clock}).empty());
  store::migrateOwnTables(orbWin);

  athup::testing::ScriptedInteraction ui;
  IndexImportFlow flow(ui, orbWin, orbCode);
  std::size_t imported = 0;
  for (const auto& file : summary.filingFiles) {
    const std::string name = common::utf8FromPath(file.path.filename());
    const std::string ban = name.substr(0, 8);
    std::string type = name.substr(9);
    for (char& c : type) c = static_cast<char>(c >= 'a' ? c - 'a' + 'A' : c);
    ui.shown.clear();
    if (flow.importCategory({ban, type, common::utf8FromPath(file.path.parent_path()), "11302"})) {
      ++imported;
      EXPECT_EQ(store::IndexQueries(orbWin).indexRowCount(ban, type),
                static_cast<std::int64_t>(type == "T02" ? file.needEvidence : file.records))
          << name;
    } else {
      ASSERT_EQ(ui.messages().size(), 1U) << name;
      EXPECT_TRUE(ui.messages().front() == "申報檔位置的檔案不是申報上傳的檔案，請重新輸入!" ||
                  ui.messages().front() == "請先執行營業稅申報上傳後，再執行附件上傳的設定!")
          << name << ": " << ui.messages().front();
    }
  }
  EXPECT_GT(imported, summary.filingFiles.size() / 2);
}

}  // namespace
}  // namespace athup::index
