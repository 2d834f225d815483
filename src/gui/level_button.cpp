#include "gui/level_button.h"

#include "app/app_state.h"
#include "app/blend.h"
#include "app/resource.h"
#include "campaign/progress.h"
#include "gui/text_backing.h"
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
const ALLEGRO_COLOR kLockBody = {0.16f, 0.16f, 0.2f, 1};
constexpr float kLockWidth = 12.0f, kLockHeight = 9.0f;       // px, the body
constexpr float kShackleWidth = 7.0f, kShackleHeight = 7.0f;  // px, above the body

// "1", "1 and 2", "1, 2 and 3"
std::string numberList(const std::vector<int>& levels) {
  std::string list;
  for (size_t i = 0; i < levels.size(); ++i) {
    const char* joint = i == 0 ? "" : i + 1 == levels.size() ? " and " : ", ";
    list += joint + std::to_string(levels[i] + 1);
  }
  return list;
}

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

std::string lockNote(const Progress& progress, int levelIndex) {
  std::vector<int> levels = progress.levelsToOpen(levelIndex);
  int needed = progress.completionsToOpen(levelIndex);
  if (static_cast<int>(levels.size()) < needed) return format("Locked: complete %d more levels first", needed);
  return format("Locked: complete level%s %s first", levels.size() > 1 ? "s" : "", numberList(levels).c_str());
}

void LevelButton::update(double dt) {
  enabled = record().unlocked;
  const ALLEGRO_MOUSE_STATE* mouse = currentState()->mouseState();
  pointedAt_ = rect.contains(mouse->x, mouse->y);
  GuiButton::update(dt);
}

void LevelButton::draw() {
  GuiButton::draw();
  if (enabled) {
    drawMarks();
  } else {
    drawLock();
  }
  drawInformation();
}

// A padlock where the crowns go: a dark body under a light shackle, outlined light, so it reads
// on a pale sky and a dark one alike.
void LevelButton::drawLock() const {
  float centre = (rect.left + rect.right) * 0.5f;
  float bodyTop = rect.top - kLockHeight - 2;
  drawRectangle(centre - kShackleWidth / 2, bodyTop - kShackleHeight + 1, centre + kShackleWidth / 2, bodyTop + 2,
                kWhite, 2.0f);
  drawFilledRectangle(centre - kLockWidth / 2, bodyTop, centre + kLockWidth / 2, bodyTop + kLockHeight, kLockBody);
  drawRectangle(centre - kLockWidth / 2, bodyTop, centre + kLockWidth / 2, bodyTop + kLockHeight, kWhite, 1.0f);
}

void LevelButton::drawMarks() const {
  const LevelRecord& level = record();
  float markX = (rect.left + rect.right) * 0.5 - kMarkHalfWidth;
  float markY = rect.top - kMarkRaise;
  if (level.silver) drawBitmap(sheet->frame(kSilverCrown), markX, markY, 0);
  if (level.golden) drawBitmap(sheet->frame(kGoldenCrown), markX, markY, 0);
  if (level.completed && !level.silver && !level.golden) drawBitmap(sheet->frame(kCompletedMark), markX, markY, 0);
}

std::vector<InformationLine> levelInformation(const Progress& progress, int levelIndex, const std::string& name) {
  const LevelRecord& level = progress.records.at(levelIndex);
  std::vector<InformationLine> lines{{315, format("Level %d", levelIndex + 1), false}};
  if (!name.empty()) lines.push_back({kNameLine, name, false});
  if (!level.unlocked) {
    lines.push_back({350, lockNote(progress, levelIndex), false});
    return lines;
  }
  if (!level.completed) {
    lines.push_back({350, "Not completed", false});
    return lines;
  }
  auto assisted = [&](AssistMarks::Mark mark) {
    return progress.assisted.marked(levelIndex, mark) ? std::string(" (assisted)") : std::string();
  };
  lines.push_back({350, "Completed" + assisted(AssistMarks::Mark::Completed), true});
  lines.push_back(
      {370,
       level.golden ? "100% completion achieved" + assisted(AssistMarks::Mark::Golden) : "100% completion not achieved",
       level.golden});
  bool timed = level.bestTime < kNoBestTime;
  lines.push_back({390, timed ? format("Best time: %.2fs", level.bestTime) : "Best time: ---", timed && level.silver});
  lines.push_back({410, format("Target time: %.2fs", progress.targetTime(levelIndex)), false});
  lines.push_back({440, kWatchHint, false});
  return lines;
}

std::vector<InformationLine> LevelButton::information() const {
  if (highlight != Highlight::Hovered && !focused && !pointedAt_) return {};
  return levelInformation(progress_, levelIndex, name_);
}

// One band behind the whole block, from its first line to its last.
void LevelButton::drawInformation() const {
  std::vector<InformationLine> lines = information();
  if (lines.empty()) return;
  Box band = textBacking(font, kInfoCentre, lines.front().y, ALLEGRO_ALIGN_CENTRE, lines.front().text);
  for (const InformationLine& line : lines)
    band = boxAround(band, textBacking(font, kInfoCentre, line.y, ALLEGRO_ALIGN_CENTRE, line.text));
  drawBacking(band);
  for (const InformationLine& line : lines) {
    setBlendColour(line.highlighted ? kYellow : kWhite);
    drawText(font, kInfoCentre, line.y, ALLEGRO_ALIGN_CENTRE, line.text);
  }
  resetBlender();
}
