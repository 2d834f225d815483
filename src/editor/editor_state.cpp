#include "editor/editor_state.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "app/blend.h"
#include "app/resource.h"
#include "entities/avatar.h"
#include "entities/baddie.h"
#include "entities/bag.h"
#include "entities/channel_states.h"
#include "entities/container.h"
#include "entities/fireworks.h"
#include "entities/force_field.h"
#include "entities/garbage.h"
#include "entities/lever.h"
#include "entities/message.h"
#include "entities/press_pad.h"
#include "entities/prototypes.h"
#include "entities/spikes.h"
#include "entities/tile.h"
#include "states/play_state.h"
#include "world/level_file.h"
#include "world/tag.h"

namespace {

constexpr int kCellSize = 20;                                    // px
constexpr int kScreenWidth = EditorState::kColumns * kCellSize;  // px
constexpr int kScreenHeight = EditorState::kRows * kCellSize;    // px
constexpr int kSwitchChannels = 5;                               // channels offered for levers and press pads
constexpr int kMostBags = 5;                                     // containers needing 1 to 5 bags
constexpr int kNoCell = -1000;                                   // px: no placement yet
constexpr float kLabelX = 5.0f;                                  // px
constexpr float kLabelY = 5.0f;                                  // px
constexpr int kTestPlayLevel = -1;
const char* const kEditFile = "levels/edit.lv";
const char* const kPlayFile = "levels/play.lv";

// A remainder in 0 .. count - 1 even for a negative value (a wheel turned far down at once).
int wrap(int value, int count) { return ((value % count) + count) % count; }

void reportFailure(const LevelFileResult& outcome) {
  if (outcome.ok) return;
  std::printf("%s\n", outcome.message.c_str());
  std::fflush(stdout);
}

}  // namespace

EditorState::EditorState()
    : AppState<int>(al_get_current_display()),
      world(new World()),
      lastCellX(kNoCell),
      lastCellY(kNoCell),
      font(fontResource("media/font.ttf")) {
  createPalette();
  placePress = pressOf(own(new MouseKey(1)));
  placeHeld = own(new MouseKey(1));
  saveKey = pressOf(own(new Key(ALLEGRO_KEY_S)));
  loadKey = pressOf(own(new Key(ALLEGRO_KEY_L)));
  playKey = pressOf(own(new Key(ALLEGRO_KEY_P)));
  previousKey = pressOf(own(new Key(ALLEGRO_KEY_Z)));
  nextKey = pressOf(own(new Key(ALLEGRO_KEY_X)));
  eraseHeld = own(new MouseKey(2));
}

// An OnPress is destroyed before the switch it watches.
EditorState::~EditorState() {
  for (auto it = switches.rbegin(); it != switches.rend(); ++it) delete *it;
  delete world;
  for (Entity* prototype : palette) delete prototype;
}

Switch* EditorState::own(Switch* created) {
  switches.push_back(created);
  return created;
}

Switch* EditorState::pressOf(Switch* inner) { return own(new OnPress(inner)); }

void EditorState::createPalette() {
  palette.push_back(new Tile(0, nullptr, 0, 0));
  palette.push_back(new Message("Test message."));
  palette.push_back(new Bag());
  palette.push_back(new Garbage());
  palette.push_back(new Spikes());
  palette.push_back(new ForceField(false));
  palette.push_back(new ForceField(true));
  palette.push_back(new Avatar());
  palette.push_back(new Baddie(false));
  palette.push_back(new Baddie(true));
  for (int bags = 1; bags <= kMostBags; ++bags) palette.push_back(new Container(0, 0, bags));
  for (int channel = 0; channel < kSwitchChannels; ++channel) {
    palette.push_back(new Lever(channel, false));
    palette.push_back(new Lever(channel, true));
  }
  for (int channel = 0; channel < kSwitchChannels; ++channel) {
    palette.push_back(new PressPad(channel, false));
    palette.push_back(new PressPad(channel, true));
  }
  palette.push_back(new Fireworks());
}

Entity* EditorState::cellAt(int column, int row) const {
  if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return nullptr;
  return cells[column * kRows + row];
}

// Positions left of or above the screen would truncate into the first column or row.
EditorState::Cell EditorState::mouseCell() const {
  const ALLEGRO_MOUSE_STATE* pointer = currentState()->mouseState();
  bool inside = pointer->x >= 0 && pointer->x < kScreenWidth && pointer->y >= 0 && pointer->y < kScreenHeight;
  return Cell{pointer->x / kCellSize * kCellSize, pointer->y / kCellSize * kCellSize, inside};
}

Entity*& EditorState::cell(const Cell& at) { return cells[at.px / kCellSize * kRows + at.py / kCellSize]; }

void EditorState::update(double) {
  Cell at = mouseCell();
  paint(at);
  if (eraseHeld->isDown()) eraseAt(at);
  choosePrototype();
  if (saveKey->isDown()) save();
  if (loadKey->isDown()) load();
  if (playKey->isDown()) testPlay();
}

// A press places at once; a drag with the button held places once per newly entered cell.
void EditorState::paint(const Cell& at) {
  if (!at.inside) return;
  bool entered = at.px != lastCellX || at.py != lastCellY;
  if (placePress->isDown() || (placeHeld->isDown() && entered)) {
    lastCellX = at.px;
    lastCellY = at.py;
    placeAt(at);
  }
}

void EditorState::placeAt(const Cell& at) {
  Entity*& occupant = cell(at);
  if (occupant) world->remove(occupant);
  Entity* placed = palette[selected]->create();
  placed->setPosition(at.px, at.py);
  world->add(placed);
  world->flush();
  occupant = placed;
}

void EditorState::eraseAt(const Cell& at) {
  if (!at.inside) return;
  Entity*& occupant = cell(at);
  if (!occupant) return;
  world->remove(occupant);
  world->flush();
  occupant = nullptr;
}

void EditorState::choosePrototype() {
  const int count = static_cast<int>(palette.size());
  if (previousKey->isDown()) {
    selected = wrap(selected - 1, count);
  } else if (nextKey->isDown()) {
    selected = wrap(selected + 1, count);
  }
  int wheel = currentState()->mouseState()->z;
  selected = wrap(selected + (wheel - lastWheel), count);
  lastWheel = wheel;
}

void EditorState::save() { reportFailure(writeLevel(kEditFile, *world)); }

// The file is read into a world of its own first, so a missing or malformed file leaves the
// level being edited as it was.
void EditorState::load() {
  auto loaded = std::make_unique<World>();
  LevelFileResult outcome = readLevel(kEditFile, *loaded);
  reportFailure(outcome);
  if (!outcome.ok) return;
  loaded->flush();
  delete world;
  world = loaded.release();
  mirrorCells();
}

void EditorState::mirrorCells() {
  for (Entity*& occupant : cells) occupant = nullptr;
  for (Entity* entity : world->byTag(tagOf("entt"))) {
    int column = static_cast<int>(std::trunc(entity->x() / kCellSize));
    int row = static_cast<int>(std::trunc(entity->y() / kCellSize));
    if (column >= 0 && column < kColumns && row >= 0 && row < kRows) cells[column * kRows + row] = entity;
  }
}

// A level that cannot be written is not played: the play would load an older file or none.
void EditorState::testPlay() {
  LevelFileResult outcome = writeLevel(kPlayFile, *world);
  reportFailure(outcome);
  if (!outcome.ok) return;
  runTestPlay(kPlayFile);
  setAllChannelsOn();
}

void EditorState::runTestPlay(const char* fileName) { runNested(*this, new PlayState(kTestPlayLevel, fileName)); }

void EditorState::draw(ALLEGRO_DISPLAY*) {
  al_clear_to_color(al_map_rgb(120, 180, 255));
  ALLEGRO_COLOR lineColour = al_map_rgb(60, 100, 255);
  for (int x = 0; x < kScreenWidth; x += kCellSize) drawLine(x, 0, x, kScreenHeight, lineColour, 1.0f);
  for (int y = 0; y < kScreenHeight; y += kCellSize) drawLine(0, y, kScreenWidth, y, lineColour, 1.0f);
  for (Entity* entity : world->byTag(tagOf("rndr"))) entity->draw();
  drawText(font, kLabelX, kLabelY, 0, palette[selected]->editorLabel());
}
