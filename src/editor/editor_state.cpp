#include "editor/editor_state.h"

#include <cmath>
#include <cstdio>
#include <memory>

#include "app/blend.h"
#include "app/data_dirs.h"
#include "app/resource.h"
#include "entities/prototypes.h"
#include "states/play_state.h"
#include "world/channel_states.h"
#include "world/level_file.h"
#include "world/tag.h"
#include "world/tile.h"

namespace {

constexpr int kNoCell = -1000;   // px: no placement yet
constexpr float kLabelX = 5.0f;  // px
constexpr float kLabelY = 5.0f;  // px
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
}

Switch* EditorState::own(Switch* created) {
  switches.push_back(created);
  return created;
}

Switch* EditorState::pressOf(Switch* inner) { return own(new OnPress(inner)); }

void EditorState::createPalette() {
  for (const LevelKind& kind : levelKinds()) {
    for (const RecordFields& fields : kind.palette) palette.push_back(PaletteEntry{&kind, fields});
  }
}

Entity* EditorState::cellAt(int column, int row) const {
  if (column < 0 || column >= kColumns || row < 0 || row >= kRows) return nullptr;
  return cells[column * kRows + row];
}

// Positions left of or above the screen would truncate into the first column or row.
EditorState::Cell EditorState::mouseCell() const {
  const ALLEGRO_MOUSE_STATE* mouse = currentState()->mouseState();
  bool inside = mouse->x >= 0 && mouse->x < kScreenWidth && mouse->y >= 0 && mouse->y < kScreenHeight;
  return Cell{mouse->x / kCellSize * kCellSize, mouse->y / kCellSize * kCellSize, inside};
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
  const PaletteEntry& chosen = palette[selected];
  Entity* placed = chosen.kind->make(chosen.fields);
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

void EditorState::save() { reportFailure(writeLevel(playerFile(kEditFile).c_str(), *world)); }

// The file is read into a world of its own first, so a missing or malformed file leaves the
// level being edited as it was.
void EditorState::load() {
  auto loaded = std::make_unique<World>();
  LevelFileResult outcome = readLevel(playerFile(kEditFile).c_str(), *loaded);
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
  const std::string playFile = playerFile(kPlayFile);
  LevelFileResult outcome = writeLevel(playFile.c_str(), *world);
  reportFailure(outcome);
  if (!outcome.ok) return;
  runTestPlay(playFile.c_str());
  setAllChannelsOn();
}

void EditorState::runTestPlay(const char* fileName) { runNested(*this, new PlayState(kTestPlayLevel, fileName)); }

void EditorState::draw(ALLEGRO_DISPLAY*) {
  al_clear_to_color(al_map_rgb(120, 180, 255));
  ALLEGRO_COLOR lineColour = al_map_rgb(60, 100, 255);
  for (int x = 0; x < kScreenWidth; x += kCellSize) drawLine(x, 0, x, kScreenHeight, lineColour, 1.0f);
  for (int y = 0; y < kScreenHeight; y += kCellSize) drawLine(0, y, kScreenWidth, y, lineColour, 1.0f);
  for (Entity* entity : world->byTag(tagOf("rndr"))) entity->draw();
  drawText(font, kLabelX, kLabelY, 0, palette[selected].label());
}
