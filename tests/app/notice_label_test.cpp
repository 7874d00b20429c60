#include <gtest/gtest.h>

#include <filesystem>

#include "app/startup_rules.h"
#include "support/temp_dir.h"

namespace athup::app {
namespace {

// One 40-byte column of the label, as "%-40s" gives it; width is the text's Big5 byte count.
std::string column(const std::string& text, std::size_t width) {
  return text + std::string(40 - width, ' ');
}

std::string label(const std::vector<std::pair<std::string, std::size_t>>& columns) {
  std::string text;
  for (const auto& [value, width] : columns) {
    if (!text.empty()) text += ' ';
    text += column(value, width);
  }
  return text;
}

TEST(NoticeLabelTest, LastFiveLinesInFileOrder) {
  struct Case {
    const char* what;
    std::string fileBytes;  // Big5
    std::string expected;   // UTF-8
  };
  const Case cases[] = {
      {"more than six lines, blank lines between them",
       "one\r\ntwo\r\n\r\nthree\r\nfour\r\n\r\n\r\nfive\r\nsix\r\nseven\r\n",
       label({{"three", 5}, {"four", 4}, {"five", 4}, {"six", 3}, {"seven", 5}})},
      {"exactly five, the last without a line end, blanks inside kept",
       "a 1\r\nb 2\r\nc 3\r\nd 4\r\ne 5",
       label({{"a 1", 3}, {"b 2", 3}, {"c 3", 3}, {"d 4", 3}, {"e 5", 3}})},
      {"fewer than six: the first line fills the missing places", "A\nB\nC\n",
       label({{"A", 1}, {"A", 1}, {"A", 1}, {"B", 1}, {"C", 1}})},
      {"Big5 text padded by its byte width", "  \xA4\xBD\xA7\x69\xA8\xC6\xB6\xB5  \r\n",
       label(
           {{"公告事項", 8}, {"公告事項", 8}, {"公告事項", 8}, {"公告事項", 8}, {"公告事項", 8}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    athup::testing::TempDir dir;
    EXPECT_EQ(noticeLabelText(dir.write("readme.txt", c.fileBytes)), c.expected);
  }
}

TEST(NoticeLabelTest, MissingNoticeHidesThePanelAndIsNotCreated) {
  athup::testing::TempDir dir;
  EXPECT_EQ(noticeLabelText(dir / "readme.txt"), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(dir / "readme.txt"));
}

}  // namespace
}  // namespace athup::app
