#include "upload/media/unit_picker.h"

#include <gtest/gtest.h>

namespace athup::upload {
namespace {

using List = std::vector<std::string>;

TEST(UnitPickerTest, MovesEntriesAndSelectsTheNextOne) {
  struct Case {
    const char* name;
    std::vector<std::size_t> selected;
    List available;
    List picked;
    std::optional<std::size_t> next;
  };
  const std::vector<Case> cases = {
      {"first", {0}, {"b", "c", "d"}, {"a"}, 0},
      {"middle pair", {1, 2}, {"a", "d"}, {"b", "c"}, 1},
      {"last", {3}, {"a", "b", "c"}, {"d"}, 2},
      {"nothing selected", {}, {"a", "b", "c", "d"}, {}, 0},
      {"all selected", {0, 1, 2, 3}, {}, {"a", "b", "c", "d"}, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    UnitPicker picker({"d", "b", "a", "c"});  // kept sorted
    EXPECT_EQ(picker.include(c.selected), c.next);
    EXPECT_EQ(picker.available(), c.available);
    EXPECT_EQ(picker.picked(), c.picked);
  }
}

TEST(UnitPickerTest, KeepsPickedInOrderAndReturnsEntriesSorted) {
  UnitPicker picker({"a", "b", "c"});
  EXPECT_FALSE(picker.canExclude());
  (void)picker.include({2});
  (void)picker.include({0});
  EXPECT_EQ(picker.picked(), (List{"c", "a"}));
  EXPECT_EQ(picker.exclude({0}), 0U);
  EXPECT_EQ(picker.available(), (List{"b", "c"}));
  EXPECT_EQ(picker.includeAll(), std::nullopt);
  EXPECT_EQ(picker.picked(), (List{"a", "b", "c"}));
  EXPECT_FALSE(picker.canInclude());
  EXPECT_TRUE(picker.canExclude());
  EXPECT_EQ(picker.excludeAll(), std::nullopt);
  EXPECT_EQ(picker.available(), (List{"a", "b", "c"}));
  EXPECT_FALSE(picker.canExclude());
}

}  // namespace
}  // namespace athup::upload
