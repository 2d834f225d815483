#include "gui/level_button.h"

#include "app/blend.h"
#include "app/resource.h"
#include "campaign/progress.h"
#include "world/world.h"

namespace {

constexpr int kCompletedMark = 0;
constexpr int kGoldenCrown = 1;
constexpr int kSilverCrown = 2;
constexpr float kMarkHalfWidth = 9.0f;  // px
constexpr float kMarkRaise = 16.0f;     // px above the button
constexpr float kInfoCentre = 400.0f;   // px
constexpr float kNameLine = 332.0f;     // px, between "Level N" and the record's first line

const ALLEGRO_COLOR kWhite = {1, 1, 1, 1};
const ALLEGRO_COLOR kYellow = {1, 1, 0, 1};
const char* const kWatchHint = "Watch best run: right-click or W";

}  // namespace

LevelButton::LevelButton(const Box& rect_, int levelIndex_, const Progress& progress, const std::string& name)
    : GuiButton(rect_, "", false),
      levelIndex(levelIndex_),
      sheet(sheetResource("media/completesheet.png")),
      progress_(progress),
      name_(name) {
  label = format("%d", levelIndex + 1);
  enabled = record().unlocked;
}

const LevelRecord& LevelButton::record() const { return progress_.records.at(levelIndex); }

void LevelButton::update(double dt) {
  enabled = record().unlocked;
  GuiButton::update(dt);
}

void LevelButton::draw() {
  GuiButton::draw();
  drawMarks();
  if (highlight == Highlight::Hovered) drawInformation();
}

void LevelButton::drawMarks() const {
  const LevelRecord& level = record();
  float markX = (rect.left + rect.right) * 0.5 - kMarkHalfWidth;
  float markY = rect.top - kMarkRaise;
  if (level.silver) drawBitmap(sheet->frame(kSilverCrown), markX, markY, 0);
  if (level.golden) drawBitmap(sheet->frame(kGoldenCrown), markX, markY, 0);
  if (level.completed && !level.silver && !level.golden) drawBitmap(sheet->frame(kCompletedMark), markX, markY, 0);
}

void LevelButton::drawInformation() const {
  const LevelRecord& level = record();
  drawLine(kWhite, 315, format("Level %d", levelIndex + 1));
  if (!name_.empty()) drawLine(kWhite, kNameLine, name_);
  if (!level.completed) {
    drawLine(kWhite, 350, "Not completed");
  } else {
    drawLine(kYellow, 350, "Completed");
    if (level.golden) {
      drawLine(kYellow, 370, format("100%% completion achieved"));
    } else {
      drawLine(kWhite, 370, format("100%% completion not achieved"));
    }
    if (level.bestTime < kNoBestTime) {
      drawLine(level.silver ? kYellow : kWhite, 390, format("Best time: %.2fs", level.bestTime));
    } else {
      drawLine(kWhite, 390, "Best time: ---");
    }
    drawLine(kWhite, 410, format("Target time: %.2fs", progress_.targetTime(levelIndex)));
    drawLine(kWhite, 440, kWatchHint);
  }
  resetBlender();
}

void LevelButton::drawLine(ALLEGRO_COLOR colour, float y, const std::string& text) const {
  setBlendColour(colour);
  drawText(font, kInfoCentre, y, ALLEGRO_ALIGN_CENTRE, text);
}
