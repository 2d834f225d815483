#include "themes/themes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <tuple>
#include <utility>

#include "themes/th_mist.h"
#include "themes/th_night.h"
#include "themes/th_sway.h"
#include "unit/test_support.h"
#include "world/world.h"

namespace {

class Themes : public ::testing::Test {
 protected:
  void SetUp() override {
    initAllegroForTests();
    createThemes();
  }
};

TEST_F(Themes, MenuOrderNamesAndUnlockPoints) {
  const std::pair<const char*, int> rows[] = {{"Sky", 0},    {"Sunset", 6},   {"Mist", 12},
                                              {"Night", 18}, {"Crooked", 24}, {"Liquor", 30}};
  for (int i = 0; i < kThemeCount; ++i) {
    EXPECT_STREQ(themes[i]->name(), rows[i].first) << i;
    EXPECT_EQ(themes[i]->requiredPoints(), rows[i].second) << rows[i].first;
  }
  Theme* night = themes[3];
  currentTheme = themes[2];
  createThemes();
  EXPECT_EQ(currentTheme, themes[0]) << "Sky is current again";
  EXPECT_EQ(themes[3], night) << "the themes are made once";
}

// Night's clouds always go behind the level, Mist's always in front; the others go behind on
// randomInt(0, 2) != 0, drawn from the C library's rand.
TEST_F(Themes, CloudLayering) {
  for (int index = 0; index < kThemeCount; ++index) {
    std::srand(99);
    std::string expected, actual;
    for (int i = 0; i < 30; ++i) expected += index == 2 ? 'F' : index == 3 || std::rand() % 3 != 0 ? 'B' : 'F';
    std::srand(99);
    for (int i = 0; i < 30; ++i) actual += themes[index]->cloudBehind() ? 'B' : 'F';
    EXPECT_EQ(actual, expected) << themes[index]->name();
  }
}

TEST_F(Themes, StarsLieInsideTheScreenMarginsXThenY) {
  const ThNight& night = dynamic_cast<ThNight&>(*themes[3]);
  std::set<std::pair<double, double>> distinct;
  for (const ThNight::Star& star : night.stars) {
    EXPECT_TRUE(star.x >= 3 && star.x <= 797 && star.y >= 3 && star.y <= 597) << star.x << ", " << star.y;
    distinct.insert({star.x, star.y});
  }
  EXPECT_GT(distinct.size(), 90u) << "the stars are scattered, not stacked";
  std::srand(5);
  ThNight fresh;
  std::srand(5);
  float x = randomFloat(3, 797);
  EXPECT_EQ(fresh.stars[0].x, x);
  EXPECT_EQ(fresh.stars[0].y, randomFloat(3, 597));
}

TEST_F(Themes, MistAndLiquorClocksFollowTheUpdates) {
  double mistBefore = dynamic_cast<ThMist&>(*themes[2]).clock;
  double swayBefore = dynamic_cast<ThSway&>(*themes[5]).clock;
  for (Theme* theme : themes) theme->update(0.25);
  EXPECT_DOUBLE_EQ(dynamic_cast<ThMist&>(*themes[2]).clock - mistBefore, 0.25);
  EXPECT_DOUBLE_EQ(dynamic_cast<ThSway&>(*themes[5]).clock - swayBefore, 0.25);
}

}  // namespace
