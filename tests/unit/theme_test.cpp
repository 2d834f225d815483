#include "themes/theme.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <utility>

#include "themes/th_mist.h"
#include "themes/th_night.h"
#include "themes/th_sway.h"
#include "unit/test_support.h"
#include "world/world.h"

namespace {

struct Colour {
  float r, g, b, a;
};
constexpr Colour bytes(int r, int g, int b, int a = 255) { return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f}; }
constexpr Colour kSkyTop = {0.58f, 0.85f, 1.0f, 1.0f};
constexpr Colour kSkyBottom = {0.3f, 0.55f, 1.0f, 1.0f};

void expectColour(ALLEGRO_COLOR actual, Colour expected, const std::string& label) {
  EXPECT_FLOAT_EQ(actual.r, expected.r) << label;
  EXPECT_FLOAT_EQ(actual.g, expected.g) << label;
  EXPECT_FLOAT_EQ(actual.b, expected.b) << label;
  EXPECT_FLOAT_EQ(actual.a, expected.a) << label;
}

class Themes : public ::testing::Test {
 protected:
  void SetUp() override {
    initAllegroForTests();
    createThemes();
  }
};

TEST_F(Themes, MenuOrderNamesAndUnlockPoints) {
  struct Row {
    const char* name;
    int points;
  } rows[] = {{"Sky", 0}, {"Sunset", 6}, {"Mist", 12}, {"Night", 18}, {"Crooked", 24}, {"Liquor", 30}};
  for (int i = 0; i < kThemeCount; ++i) {
    EXPECT_STREQ(themes[i]->name(), rows[i].name) << i;
    EXPECT_EQ(themes[i]->requiredPoints(), rows[i].points) << rows[i].name;
  }
  EXPECT_EQ(currentTheme, themes[0]);
  Theme* night = themes[3];
  currentTheme = themes[2];
  createThemes();
  EXPECT_EQ(currentTheme, themes[0]) << "Sky is current again";
  EXPECT_EQ(themes[3], night) << "the themes are made once";
}

TEST_F(Themes, SkyAndCloudColours) {
  struct Row {
    const char* name;
    Colour top, bottom, tint;
  } rows[] = {
      {"Sky", kSkyTop, kSkyBottom, bytes(255, 255, 255, 128)},
      {"Sunset", bytes(230, 130, 30), bytes(230, 70, 70), bytes(255, 220, 220, 128)},
      {"Mist", {0.85f, 0.85f, 0.85f, 1}, {0.45f, 0.45f, 0.45f, 1}, bytes(200, 200, 200, 128)},
      {"Night", bytes(40, 10, 60), bytes(10, 0, 20), bytes(0, 0, 0)},
      {"Crooked", kSkyTop, kSkyBottom, bytes(255, 255, 255, 128)},
      {"Liquor", kSkyTop, kSkyBottom, bytes(255, 255, 255, 128)},
  };
  for (int i = 0; i < kThemeCount; ++i) {
    expectColour(themes[i]->skyTop(), rows[i].top, std::string(rows[i].name) + " sky top");
    expectColour(themes[i]->skyBottom(), rows[i].bottom, std::string(rows[i].name) + " sky bottom");
    expectColour(themes[i]->cloudTint(), rows[i].tint, std::string(rows[i].name) + " cloud tint");
  }
}

TEST_F(Themes, NightCloudsGoBehindAndMistCloudsInFront) {
  for (int i = 0; i < 20; ++i) {
    EXPECT_TRUE(themes[3]->cloudBehind());
    EXPECT_FALSE(themes[2]->cloudBehind());
  }
}

// The other themes go behind on randomInt(0, 2) != 0, drawn from the C library's rand.
TEST_F(Themes, OtherThemesPutTwoCloudsInThreeBehind) {
  for (int index : {0, 1, 4, 5}) {
    std::srand(99);
    std::string expected, actual;
    for (int i = 0; i < 30; ++i) expected += std::rand() % 3 != 0 ? 'B' : 'F';
    std::srand(99);
    for (int i = 0; i < 30; ++i) actual += themes[index]->cloudBehind() ? 'B' : 'F';
    EXPECT_EQ(actual, expected) << themes[index]->name();
  }
  int behind = 0;
  for (int i = 0; i < 3000; ++i) behind += themes[0]->cloudBehind();
  EXPECT_NEAR(behind / 3000.0, 2.0 / 3.0, 0.04);
}

TEST_F(Themes, StarsLieInsideTheScreenMargins) {
  const ThNight& night = dynamic_cast<ThNight&>(*themes[3]);
  std::set<std::pair<double, double>> distinct;
  for (const ThNight::Star& star : night.stars) {
    EXPECT_TRUE(star.x >= 3 && star.x <= 797) << star.x;
    EXPECT_TRUE(star.y >= 3 && star.y <= 597) << star.y;
    distinct.insert({star.x, star.y});
  }
  EXPECT_GT(distinct.size(), 90u) << "the stars are scattered, not stacked";

  // x first, then y, for each star.
  std::srand(5);
  ThNight fresh;
  std::srand(5);
  float x = randomFloat(3, 797);
  float y = randomFloat(3, 597);
  EXPECT_EQ(fresh.stars[0].x, x);
  EXPECT_EQ(fresh.stars[0].y, y);
}

TEST_F(Themes, OnlyMistAndLiquorKeepAClock) {
  ThMist& mist = dynamic_cast<ThMist&>(*themes[2]);
  ThSway& sway = dynamic_cast<ThSway&>(*themes[5]);
  double mistBefore = mist.clock;
  double swayBefore = sway.clock;
  for (Theme* theme : themes) theme->update(0.25);
  for (Theme* theme : themes) theme->update(0.5);
  EXPECT_DOUBLE_EQ(mist.clock - mistBefore, 0.75);
  EXPECT_DOUBLE_EQ(sway.clock - swayBefore, 0.75);
}

}  // namespace
