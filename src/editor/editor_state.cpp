#include "editor/editor_state.h"

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/blend.h"
#include "app/data_dirs.h"
#include "app/resource.h"
#include "editor/level_check.h"
#include "entities/avatar.h"
#include "entities/message.h"
#include "entities/prototypes.h"
#include "states/play_state.h"
#include "themes/themes.h"
#include "world/tag.h"
#include "world/tile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNoCell = -1000;   // px: no placement yet
constexpr float kLabelX = 5.0f;  // px
constexpr float kLabelY = 5.0f;  // px
constexpr int kTestPlayLevel = -1;
const char* const kPlayFile = "levels/play.lv";
const char* const kHint = "F1: help";

// Every key and mouse action, as the help overlay lists them.
const char* const kHelpLines[][2] = {
    {"Left button", "place the chosen object (drag to paint)"},
    {"Right button", "erase (drag to erase)"},
    {"Z / X / wheel", "previous / next object"},
    {"0 - 9", "switch channel for tiles, levers and press pads"},
    {"Enter", "edit the text of the sign under the mouse"},
    {"S", "save"},
    {"L", "load the file again"},
    {"P", "test-play (Escape comes back)"},
    {"Ctrl+Z", "undo"},
    {"Ctrl+Y / Ctrl+Shift+Z", "redo"},
    {"G", "show or hide the grid"},
    {"F1 / H", "show or hide this help"},
    {"Closing the window", "asks first when there are unsaved changes"},
};

// A remainder in 0 .. count - 1 even for a negative value (a wheel turned far down at once).
int wrap(int value, int count) { return ((value % count) + count) % count; }

bool isSign(const Entity* entity) { return dynamic_cast<const Message*>(entity) != nullptr; }

// An empty file is no level worth replacing the one on screen with, so it is refused before
// the loader sees it (which refuses directories itself).
LevelFileResult readEditedLevel(const std::string& path, World& world) {
  std::error_code error;
  if (fs::is_regular_file(path, error) && fs::file_size(path, error) == 0) {
    return loadFailure(LoadError::EmptyFile, path, format("EMPTY FILE '%s'!!!", path.c_str()));
  }
  return readLevel(path.c_str(), world);
}

std::string temporaryPlayFile() {
  std::error_code error;
  fs::path folder = fs::temp_directory_path(error);
  if (error) return "";
  std::string name = (folder / "binhopper-play-XXXXXX").string();
  int descriptor = mkstemp(name.data());
  if (descriptor < 0) return "";
  close(descriptor);
  return name;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "; ") + line;
  return text;
}

}  // namespace

EditorState::EditorState(std::string file)
    : AppState(al_get_current_display()),
      world(new World()),
      lastCellX(kNoCell),
      lastCellY(kNoCell),
      statusLine(file),
      fileName(std::move(file)),
      font(fontResource("media/font.ttf")) {
  createPalette();
  createSwitches();
  for (const auto& line : kHelpLines) help.addLine(line[0], line[1]);
  help.visible = true;
  if (al_is_keyboard_installed()) al_register_event_source(queue, al_get_keyboard_event_source());
  openAtStart();
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

void EditorState::createSwitches() {
  placePress = pressOf(own(new MouseKey(1)));
  placeHeld = own(new MouseKey(1));
  saveKey = pressOfKey(ALLEGRO_KEY_S);
  loadKey = pressOfKey(ALLEGRO_KEY_L);
  playKey = pressOfKey(ALLEGRO_KEY_P);
  previousKey = pressOfKey(ALLEGRO_KEY_Z);
  nextKey = pressOfKey(ALLEGRO_KEY_X);
  eraseHeld = own(new MouseKey(2));
  leftControl = own(new Key(ALLEGRO_KEY_LCTRL));
  rightControl = own(new Key(ALLEGRO_KEY_RCTRL));
  leftShift = own(new Key(ALLEGRO_KEY_LSHIFT));
  rightShift = own(new Key(ALLEGRO_KEY_RSHIFT));
  yesKey = pressOfKey(ALLEGRO_KEY_Y);
  gridKey = pressOfKey(ALLEGRO_KEY_G);
  helpKey = pressOfKey(ALLEGRO_KEY_F1);
  helpLetterKey = pressOfKey(ALLEGRO_KEY_H);
  enterKey = pressOfKey(ALLEGRO_KEY_ENTER);
  noKey = pressOfKey(ALLEGRO_KEY_N);
  escapeKey = pressOfKey(ALLEGRO_KEY_ESCAPE);
  for (int digit = 0; digit < ChannelChoice::kChannels; ++digit) digitKeys.push_back(pressOfKey(ALLEGRO_KEY_0 + digit));
  for (int digit = 0; digit < ChannelChoice::kChannels; ++digit) {
    digitKeys.push_back(pressOfKey(ALLEGRO_KEY_PAD_0 + digit));
  }
}

void EditorState::createPalette() {
  for (const LevelKind& kind : levelKinds()) {
    for (const RecordFields& fields : kind.palette) palette.push_back(PaletteEntry{&kind, fields});
  }
}

// An existing file is opened at once, so that S straight after the start cannot replace a
// real level with an empty one; a file that cannot be read is only replaced after a question.
void EditorState::openAtStart() {
  statusLine.hold(kHint);
  std::error_code error;
  if (fs::exists(fileName, error)) {
    auto loaded = std::make_unique<World>();
    LevelFileResult outcome = readEditedLevel(fileName, *loaded);
    if (outcome.ok()) {
      loaded->flush();
      replaceWorld(loaded.release());
      statusLine.hold("Loaded " + fileName + ". " + kHint);
    } else if (outcome.error != LoadError::EmptyFile) {
      fileBroken = true;
      std::printf("%s\n", outcome.message.c_str());
      std::fflush(stdout);
      statusLine.hold(outcome.message);
    }
  }
  if (autosaveIsNewer(fileName)) {
    prompt.open(ConfirmPrompt::Purpose::RestoreAutosave, autosavePathFor(fileName) + " is newer than " + fileName + ".",
                "Y or Enter: restore it    N or Escape: open " + fileName + " as it is");
  }
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

Entity*& EditorState::cell(int column, int row) { return cells[column * kRows + row]; }

bool EditorState::controlHeld() const { return leftControl->isDown() || rightControl->isDown(); }
bool EditorState::shiftHeld() const { return leftShift->isDown() || rightShift->isDown(); }

// The prompt and the text entry take the keyboard while they are open; in the frame in which
// the entry closes, the Enter or Escape that closed it must not act again.
void EditorState::update(double dt) {
  statusLine.update(dt);
  autosave(dt);
  if (prompt.isOpen()) {
    answerPrompt();
    return;
  }
  if (entry.isOpen()) return;
  Cell at = mouseCell();
  paint(at);
  erase(at);
  if (!entryClosedThisFrame && !entry.isOpen()) handleKeys(at);
  entryClosedThisFrame = false;
}

void EditorState::handleKeys(const Cell& at) {
  if (handleControlKeys()) return;
  choosePrototype();
  chooseChannel();
  if (saveKey->isDown()) save();
  if (loadKey->isDown()) load();
  if (playKey->isDown()) testPlay();
  if (gridKey->isDown()) gridVisible = !gridVisible;
  if (helpKey->isDown() || helpLetterKey->isDown()) helpVisible = !helpVisible;
  if (escapeKey->isDown()) helpVisible = false;
  if (enterKey->isDown() && at.inside) {
    Entity* occupant = cell(at.px / kCellSize, at.py / kCellSize);
    if (isSign(occupant)) openSignText(static_cast<Message*>(occupant), false);
  }
}

// With Ctrl held, Z and Y are undo and redo and the plain keys do nothing.
bool EditorState::handleControlKeys() {
  if (!controlHeld()) return false;
  if (previousKey->isDown()) {
    if (shiftHeld()) {
      redo();
    } else {
      undo();
    }
  } else if (yesKey->isDown()) {
    redo();
  }
  lastWheel = currentState()->mouseState()->z;
  return true;
}

// A press places at once; a drag with the button held places in every cell on the line from
// the cell of the previous frame, never twice in a row in the same cell.
void EditorState::paint(const Cell& at) {
  if (!placeHeld->isDown()) placeStroke = Stroke{};
  if (!at.inside) return;
  GridCell here{at.px / kCellSize, at.py / kCellSize};
  bool entered = at.px != lastCellX || at.py != lastCellY;
  std::vector<GridCell> line;
  if (placePress->isDown()) {
    placeStroke = Stroke{};
    line.push_back(here);
  } else if (placeHeld->isDown() && entered) {
    line = placeStroke.active ? cellsAfter(placeStroke.last, here) : std::vector<GridCell>{here};
  }
  if (line.empty()) return;
  startStep(placeStroke);
  for (GridCell target : line) placeAt(target);
  placeStroke.last = here;
  lastCellX = at.px;
  lastCellY = at.py;
  if (isSign(cell(here.column, here.row))) openSignText(static_cast<Message*>(cell(here.column, here.row)), true);
}

void EditorState::erase(const Cell& at) {
  if (!eraseHeld->isDown()) {
    eraseStroke = Stroke{};
    return;
  }
  if (!at.inside) return;
  GridCell here{at.px / kCellSize, at.py / kCellSize};
  std::vector<GridCell> line = eraseStroke.active ? cellsAfter(eraseStroke.last, here) : std::vector<GridCell>{here};
  eraseStroke.active = true;
  eraseStroke.last = here;
  for (GridCell target : line) {
    if (!cell(target.column, target.row)) continue;
    startStep(eraseStroke);
    eraseAt(target);
  }
}

// A whole stroke is one undo step: the level is recorded before its first change.
void EditorState::startStep(Stroke& stroke) {
  stroke.active = true;
  if (stroke.recorded) return;
  history.record(std::make_unique<LevelSnapshot>(*world));
  stroke.recorded = true;
}

void EditorState::placeAt(GridCell at) {
  Entity*& occupant = cell(at.column, at.row);
  if (occupant) world->remove(occupant);
  const PaletteEntry& chosen = palette[selected];
  Entity* placed = chosen.kind->make(channels.fieldsFor(*chosen.kind, chosen.fields));
  placed->setPosition(at.column * kCellSize, at.row * kCellSize);
  removeOtherAvatars(*placed);
  world->add(placed);
  world->flush();
  occupant = placed;
}

// Each avatar adds its frame time to the level timer, so a second one moves the first.
void EditorState::removeOtherAvatars(const Entity& placed) {
  if (!dynamic_cast<const Avatar*>(&placed)) return;
  for (Entity* avatar : world->byTag(tagOf("avat"))) {
    for (Entity*& occupant : cells) {
      if (occupant == avatar) occupant = nullptr;
    }
    world->remove(avatar);
  }
}

void EditorState::eraseAt(GridCell at) {
  Entity*& occupant = cell(at.column, at.row);
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

void EditorState::chooseChannel() {
  for (size_t index = 0; index < digitKeys.size(); ++index) {
    if (digitKeys[index]->isDown()) channels.choose(static_cast<int>(index) % ChannelChoice::kChannels);
  }
}

void EditorState::report(const LevelFileResult& outcome, const std::string& doneText) {
  if (outcome.ok()) {
    statusLine.show(doneText);
    return;
  }
  std::printf("%s\n", outcome.message.c_str());
  std::fflush(stdout);
  statusLine.show(outcome.message);
}

void EditorState::save() {
  if (!fileBroken) {
    writeFile();
    return;
  }
  prompt.open(ConfirmPrompt::Purpose::ReplaceBroken, fileName + " could not be read; saving replaces it.",
              "S, Y or Enter: replace it    N or Escape: cancel");
}

// After each save the status line also says what would keep the level from being finished.
bool EditorState::writeFile() {
  LevelFileResult outcome = writeLevel(fileName.c_str(), *world);
  std::string problems = joined(levelProblems(*world));
  report(outcome, "Saved " + fileName + (problems.empty() ? "" : ". Problems: " + problems));
  if (!outcome.ok()) return false;
  savedRevision = history.revision();
  fileBroken = false;
  std::error_code error;
  fs::remove(autosavePathFor(fileName), error);
  return true;
}

void EditorState::load() {
  if (!unsaved()) {
    readFile(fileName, "Loaded " + fileName);
    return;
  }
  prompt.open(ConfirmPrompt::Purpose::Load, fileName + " has unsaved changes.",
              "S: save, then load    Y or Enter: load without saving    N or Escape: cancel");
}

// The file is read into a world of its own first, so a file that cannot be read leaves the
// level being edited as it was. A load is an undo step like any edit.
void EditorState::readFile(const std::string& path, const std::string& doneText) {
  auto loaded = std::make_unique<World>();
  LevelFileResult outcome = readEditedLevel(path, *loaded);
  report(outcome, doneText);
  if (!outcome.ok()) return;
  loaded->flush();
  history.record(std::make_unique<LevelSnapshot>(*world));
  replaceWorld(loaded.release());
  if (path == fileName) {
    savedRevision = history.revision();
    fileBroken = false;
  }
}

void EditorState::replaceWorld(World* level) {
  delete world;
  world = level;
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

void EditorState::undo() {
  if (!history.canUndo()) return;
  restore(*history.undo(std::make_unique<LevelSnapshot>(*world)));
  statusLine.show("Undone");
}

void EditorState::redo() {
  if (!history.canRedo()) return;
  restore(*history.redo(std::make_unique<LevelSnapshot>(*world)));
  statusLine.show("Redone");
}

void EditorState::restore(const LevelSnapshot& level) {
  auto restored = std::make_unique<World>();
  level.addCopiesTo(*restored);
  restored->flush();
  replaceWorld(restored.release());
}

// The play reads a written copy: "levels/play.lv", or a temporary file when that cannot be
// written. A level that cannot be written at all is not played.
void EditorState::testPlay() {
  const std::string standardFile = playerFile(kPlayFile);
  std::string playFile = standardFile;
  LevelFileResult outcome = writeLevel(playFile.c_str(), *world);
  if (!outcome.ok()) {
    playFile = temporaryPlayFile();
    if (playFile.empty() || !writeLevel(playFile.c_str(), *world).ok()) {
      report(outcome, "");
      return;
    }
  }
  runTestPlay(playFile.c_str());
  if (playFile != standardFile) std::remove(playFile.c_str());
}

void EditorState::runTestPlay(const char* playFile) {
  PlayState play(kTestPlayLevel, playFile, *themes[0]);
  runNested(*this, play);
}

void EditorState::autosave(double dt) {
  if (!autosaveClock.due(dt, unsaved())) return;
  LevelFileResult outcome = writeLevel(autosavePathFor(fileName).c_str(), *world);
  if (!outcome.ok()) report(outcome, "");
}

bool EditorState::onCloseRequest() {
  if (!unsaved()) return true;
  askToClose();
  return false;
}

void EditorState::askToClose() {
  entry.close();
  prompt.open(ConfirmPrompt::Purpose::Close, fileName + " has unsaved changes.",
              "S: save and close    Y or Enter: close without saving    N or Escape: keep editing");
}

void EditorState::answerPrompt() {
  bool saveAnswer = saveKey->isDown();
  bool yes = yesKey->isDown() || enterKey->isDown();
  if (noKey->isDown() || escapeKey->isDown()) {
    prompt.close();
    return;
  }
  if (!saveAnswer && !yes) return;
  ConfirmPrompt::Purpose purpose = prompt.purpose();
  prompt.close();
  switch (purpose) {
    case ConfirmPrompt::Purpose::Close:
      if (yes || writeFile()) status = RunStatus::Closed;
      break;
    case ConfirmPrompt::Purpose::Load:
      if (yes || writeFile()) readFile(fileName, "Loaded " + fileName);
      break;
    case ConfirmPrompt::Purpose::ReplaceBroken:
      writeFile();
      break;
    case ConfirmPrompt::Purpose::RestoreAutosave:
      readFile(autosavePathFor(fileName), "Restored " + autosavePathFor(fileName));
      break;
    case ConfirmPrompt::Purpose::None:
      break;
  }
}

void EditorState::openSignText(Message* sign, bool justPlaced) {
  editedSign = sign;
  signJustPlaced = justPlaced;
  entry.open(justPlaced ? "" : sign->text, al_get_time());
}

void EditorState::handleEvent(const ALLEGRO_EVENT& event) {
  if (event.type == ALLEGRO_EVENT_KEY_CHAR && entry.isOpen()) {
    typeIntoEntry(event.keyboard);
    return;
  }
  AppState::handleEvent(event);
}

// A sign placed a moment ago starts with an empty entry and keeps the palette's text unless
// something is typed; its text belongs to the placement's undo step.
void EditorState::typeIntoEntry(const ALLEGRO_KEYBOARD_EVENT& key) {
  TextEntry::Outcome outcome = entry.type(key.keycode, key.unichar, key.timestamp);
  if (outcome == TextEntry::Outcome::Editing) return;
  entry.close();
  entryClosedThisFrame = true;
  if (outcome == TextEntry::Outcome::Cancelled || entry.text() == editedSign->text) return;
  if (signJustPlaced && entry.text().empty()) return;
  if (!signJustPlaced) history.record(std::make_unique<LevelSnapshot>(*world));
  editedSign->setText(entry.text());
}

void EditorState::draw(ALLEGRO_DISPLAY*) {
  al_clear_to_color(al_map_rgb(120, 180, 255));
  if (gridVisible) drawGrid();
  world->draw();
  drawCursor();
  drawText(font, kLabelX, kLabelY, 0,
           palette[selected].kind->label(channels.fieldsFor(*palette[selected].kind, palette[selected].fields)));
  drawOverlays();
}

void EditorState::drawGrid() const {
  ALLEGRO_COLOR lineColour = al_map_rgb(60, 100, 255);
  for (int x = 0; x < kScreenWidth; x += kCellSize) drawLine(x, 0, x, kScreenHeight, lineColour, 1.0f);
  for (int y = 0; y < kScreenHeight; y += kCellSize) drawLine(0, y, kScreenWidth, y, lineColour, 1.0f);
}

void EditorState::drawCursor() const {
  Cell at = mouseCell();
  if (!at.inside) return;
  drawRectangle(at.px + 0.5f, at.py + 0.5f, at.px + kCellSize - 0.5f, at.py + kCellSize - 0.5f,
                al_map_rgb(255, 255, 255), 1.0f);
}

void EditorState::drawOverlays() {
  statusLine.draw(font, unsaved());
  if (prompt.isOpen()) {
    prompt.draw();
  } else if (entry.isOpen()) {
    entry.draw();
  } else if (helpVisible) {
    help.draw();
  }
  resetBlender();
}
