#include "app/level_count.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "unit/test_support.h"

namespace {

TEST(LevelCount, CountsFromOneUpToTheFirstGap) {
  const std::tuple<const char*, std::vector<std::string>, int> rows[] = {
      {"none", {}, 0},
      {"1, 2 and 4: the gap at 3 ends the count", {"1.lv", "2.lv", "4.lv"}, 2},
      {"2 and 3 without 1", {"2.lv", "3.lv"}, 0},
      {"1 to 12: two-digit numbers",
       {"1.lv", "2.lv", "3.lv", "4.lv", "5.lv", "6.lv", "7.lv", "8.lv", "9.lv", "10.lv", "11.lv", "12.lv"},
       12},
      {"other names do not count", {"1.lv", "01.lv", "2.txt", "title.lv"}, 1},
  };
  for (const auto& [label, files, count] : rows) {
    TempDir dir;
    for (const std::string& name : files) writeFileBytes(dir.file(name), "");
    EXPECT_EQ(countLevels(dir.path().c_str()), count) << label;
  }
}

}  // namespace
