#include "editor/editor_state.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/blend.h"
#include "app/data_dirs.h"
#include "app/resource.h"
#include "app/utf8.h"
#include "campaign/pack_writer.h"
#include "editor/level_check.h"
#include "entities/message.h"
#include "entities/prototypes.h"
#include "states/play_state.h"
#include "themes/themes.h"

namespace fs = std::filesystem;

namespace {

constexpr int kNoCell = -1000;  // px: no placement yet
const char* const kPlayFile = "levels/play.lv";
const char* const kHint = "F1: help";

// Every key and mouse action, as the help overlay lists them.
const char* const kHelpLines[][2] = {
    {"Left button", "place the chosen object (drag to paint)"},
    {"Right button", "erase (drag to erase)"},
    {"Z / X / wheel", "previous / next object"},
    {"Tab", "every object with its picture: click one to choose it"},
    {"0 - 9", "switch channel for tiles, levers and press pads"},
    {"Enter", "edit the text of the sign under the mouse"},
    {"S", "save"},
    {"L", "load the file again"},
    {"P", "test-play (Escape comes back; P pauses it)"},
    {"Ctrl+Z", "undo"},
    {"Ctrl+Y / Ctrl+Shift+Z", "redo"},
    {"G", "show or hide the grid"},
    {"F1 / H", "show or hide this help"},
    {"Escape or closing the window", "leave the editor (asks first)"},
};

// A remainder in 0 .. count - 1 even for a negative value (a wheel turned far down at once).
int wrap(int value, int count) { return ((value % count) + count) % count; }

Message* asSign(Entity* entity) { return dynamic_cast<Message*>(entity); }

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

EditorState::EditorState(const std::string& file)
    : AppState(al_get_current_display()),
      document(file),
      statusLine(file),
      lastCellX(kNoCell),
      lastCellY(kNoCell),
      font(fontResource("media/font.ttf")) {
  createPalette();
  for (const auto& line : kHelpLines) help.addLine(line[0], line[1]);
  help.visible = true;
  if (al_is_keyboard_installed()) al_register_event_source(queue, al_get_keyboard_event_source());
  openAtStart();
}

void EditorState::createPalette() {
  for (const LevelKind& kind : levelKinds()) {
    for (const RecordFields& fields : kind.palette) palette.push_back(PaletteEntry{&kind, fields});
  }
}

// An existing file is opened at once, so that S straight after the start cannot replace a
// real level with an empty one; a file that cannot be read is only replaced after a question.
void EditorState::openAtStart() {
  const std::string& file = document.path();
  statusLine.hold(kHint);
  LoadResult opened = document.open();
  if (opened.ok()) {
    statusLine.hold("Loaded " + file + ". " + kHint);
  } else if (document.broken()) {
    std::printf("%s\n", opened.message.c_str());
    std::fflush(stdout);
    statusLine.hold(plainLoadFailure(opened), opened.message);
  }
  if (autosaveIsNewer(file)) {
    prompt.open(ConfirmPrompt::Purpose::RestoreAutosave, autosavePathFor(file) + " is newer than " + file + ".",
                "Y or Enter: restore it    N or Escape: open " + file + " as it is");
  }
}

// Positions left of or above the screen would truncate into the first column or row.
EditorState::Cell EditorState::mouseCell() const {
  const ALLEGRO_MOUSE_STATE* pointer = currentState()->mouseState();
  bool inside = pointer->x >= 0 && pointer->x < kScreenWidth && pointer->y >= 0 && pointer->y < kScreenHeight;
  return Cell{pointer->x / kCellSize * kCellSize, pointer->y / kCellSize * kCellSize, inside};
}

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
  if (paletteView.overviewOpen()) {
    choosePictured();
    return;
  }
  Cell at = mouseCell();
  paint(at);
  erase(at);
  if (!entryClosedThisFrame && !entry.isOpen()) handleKeys(at);
  entryClosedThisFrame = false;
}

// The overview takes the mouse and the keys while it is open; the button that chose an entry
// must be let go before the next placement.
void EditorState::choosePictured() {
  const ALLEGRO_MOUSE_STATE* pointer = currentState()->mouseState();
  int pointed = PaletteView::entryAt(pointer->x, pointer->y, static_cast<int>(palette.size()));
  if (input.placePressed() && pointed >= 0) {
    selected = pointed;
    placeAfterRelease = true;
    paletteView.closeOverview();
  }
  if (input.down(EditorKey::Palette) || input.down(EditorKey::Escape)) paletteView.closeOverview();
  lastWheel = pointer->z;
}

void EditorState::handleKeys(const Cell& at) {
  if (handleControlKeys()) return;
  choosePrototype();
  chooseChannel();
  if (input.down(EditorKey::Save)) save();
  if (input.down(EditorKey::Load)) load();
  // The switches read after a test play are those of its last frame: the Escape that left it
  // must not also ask to leave the editor.
  if (input.down(EditorKey::TestPlay)) return testPlay();
  if (input.down(EditorKey::Grid)) gridVisible = !gridVisible;
  if (input.down(EditorKey::Help)) helpVisible = !helpVisible;
  if (input.down(EditorKey::Palette)) paletteView.openOverview();
  if (input.down(EditorKey::Escape)) {
    if (helpVisible) {
      helpVisible = false;
    } else {
      askToLeave();
    }
  }
  if (input.down(EditorKey::Enter) && at.inside) {
    if (Message* sign = asSign(document.cellAt(at.px / kCellSize, at.py / kCellSize))) openSignText(sign, false);
  }
}

// With Ctrl held, Z and Y are undo and redo and the plain keys do nothing.
bool EditorState::handleControlKeys() {
  if (!input.down(EditorKey::Control)) return false;
  if (input.down(EditorKey::Previous)) {
    if (input.down(EditorKey::Shift)) {
      redo();
    } else {
      undo();
    }
  } else if (input.down(EditorKey::Yes)) {
    redo();
  }
  lastWheel = currentState()->mouseState()->z;
  return true;
}

// A press places at once; a drag with the button held places in every cell on the line from
// the cell of the previous frame, never twice in a row in the same cell.
void EditorState::paint(const Cell& at) {
  if (!input.placeHeld()) placeStroke = Stroke{};
  if (!input.placeHeld()) placeAfterRelease = false;
  if (placeAfterRelease) return;
  if (!at.inside) return;
  GridCell here{at.px / kCellSize, at.py / kCellSize};
  bool entered = at.px != lastCellX || at.py != lastCellY;
  std::vector<GridCell> line;
  if (input.placePressed()) {
    placeStroke = Stroke{};
    line.push_back(here);
  } else if (input.placeHeld() && entered) {
    line = placeStroke.active ? cellsAfter(placeStroke.last, here) : std::vector<GridCell>{here};
  }
  if (line.empty()) return;
  startStep(placeStroke);
  const PaletteEntry& chosen = palette[selected];
  RecordFields fields = channels.fieldsFor(*chosen.kind, chosen.fields);
  for (GridCell target : line) document.place(target, *chosen.kind, fields);
  placeStroke.last = here;
  lastCellX = at.px;
  lastCellY = at.py;
  if (Message* sign = asSign(document.cellAt(here.column, here.row))) openSignText(sign, true);
}

void EditorState::erase(const Cell& at) {
  if (!input.eraseHeld()) {
    eraseStroke = Stroke{};
    return;
  }
  if (!at.inside) return;
  GridCell here{at.px / kCellSize, at.py / kCellSize};
  std::vector<GridCell> line = eraseStroke.active ? cellsAfter(eraseStroke.last, here) : std::vector<GridCell>{here};
  eraseStroke.active = true;
  eraseStroke.last = here;
  for (GridCell target : line) {
    if (!document.cellAt(target.column, target.row)) continue;
    startStep(eraseStroke);
    document.erase(target);
  }
}

// A whole stroke is one undo step: the level is recorded before its first change.
void EditorState::startStep(Stroke& stroke) {
  stroke.active = true;
  if (stroke.recorded) return;
  document.recordStep();
  stroke.recorded = true;
}

void EditorState::choosePrototype() {
  const int count = static_cast<int>(palette.size());
  if (input.down(EditorKey::Previous)) {
    selected = wrap(selected - 1, count);
  } else if (input.down(EditorKey::Next)) {
    selected = wrap(selected + 1, count);
  }
  int wheel = currentState()->mouseState()->z;
  selected = wrap(selected + (wheel - lastWheel), count);
  lastWheel = wheel;
}

void EditorState::chooseChannel() {
  int channel = input.channelPressed();
  if (channel >= 0) channels.choose(channel);
}

void EditorState::report(const LoadResult& outcome, const std::string& doneText) {
  if (outcome.ok()) {
    statusLine.show(doneText);
    return;
  }
  std::printf("%s\n", outcome.message.c_str());
  std::fflush(stdout);
  statusLine.show(plainLoadFailure(outcome), outcome.message);
}

void EditorState::save() {
  if (document.broken()) {
    prompt.open(ConfirmPrompt::Purpose::ReplaceBroken, document.path() + " could not be read; saving replaces it.",
                "S, Y or Enter: replace it    N or Escape: cancel");
  } else if (!askIfChangedOnDisk()) {
    writeFile();
  }
}

// Another program or another editor wrote the file since this one read or saved it: whose level
// is kept is the author's choice, never the last writer's by accident.
bool EditorState::askIfChangedOnDisk() {
  if (!document.changedOnDisk()) return false;
  prompt.open(ConfirmPrompt::Purpose::Overwrite,
              document.path() + " was changed on disk since the editor loaded or saved it.",
              "S or Y: keep mine (save over it)    L: reload theirs    N, Escape or Enter: cancel");
  return true;
}

// After each save the status line also says what would keep the level from being finished.
bool EditorState::writeFile() {
  LoadResult outcome = document.save();
  std::string problems = joined(levelProblems(document.world()));
  report(outcome, "Saved " + document.path() + (problems.empty() ? "" : ". Problems: " + problems));
  return outcome.ok();
}

void EditorState::load() {
  const std::string& file = document.path();
  bool changed = document.changedOnDisk();
  if (!document.unsaved()) {
    readFile(file, "Loaded " + file + (changed ? ", as changed on disk since the editor last read or saved it" : ""));
    return;
  }
  prompt.open(ConfirmPrompt::Purpose::Load,
              file + " has unsaved changes" + (changed ? ", and the file was changed on disk since." : "."),
              "S: save, then load    Y: load without saving    N, Escape or Enter: cancel");
}

void EditorState::readFile(const std::string& path, const std::string& doneText) {
  report(document.load(path), doneText);
}

void EditorState::undo() {
  if (document.undo()) statusLine.show("Undone");
}

void EditorState::redo() {
  if (document.redo()) statusLine.show("Redone");
}

// The play reads a written copy: "levels/play.lv", or a temporary file when that cannot be
// written or is the file being edited (the document never writes its own file as a copy). A
// level that cannot be written at all is not played.
void EditorState::testPlay() {
  const std::string standardFile = playerFile(kPlayFile);
  std::string playFile = standardFile;
  LoadResult outcome = document.writeCopy(playFile);
  if (!outcome.ok()) {
    playFile = temporaryPlayFile();
    if (playFile.empty() || !document.writeCopy(playFile).ok()) {
      report(outcome, "");
      return;
    }
  }
  runTestPlay(playFile.c_str());
  if (playFile != standardFile) std::remove(playFile.c_str());
}

// R, and Space after a death, play the level again; every other way out comes back here. A
// level of a pack can keep a completed run as its proof.
void EditorState::runTestPlay(const char* playFile) {
  PlayResult played = PlayResult::Retry;
  PlayedLevel tested;
  tested.kind = PlayKind::TestPlay;
  PackLevelPlace inPack = packLevelOf(document.path());
  while (played == PlayResult::Retry && status == RunStatus::Running) {
    PlayState play(tested, playFile, *themes[0]);
    if (inPack.number > 0) play.session().recordProof(inPack.folder, inPack.number, playFile);
    runNested(*this, play);
    played = play.result();
  }
}

void EditorState::autosave(double dt) {
  if (!autosaveClock.due(dt, document.unsaved())) return;
  LoadResult outcome = document.writeCopy(autosavePathFor(document.path()));
  if (!outcome.ok()) report(outcome, "");
  wroteAutosave = wroteAutosave || outcome.ok();
}

bool EditorState::onCloseRequest() {
  if (!document.unsaved()) {
    dropOwnAutosave();
    return true;
  }
  askToClose();
  return false;
}

// An autosave is there for a crash; leaving with the level as its file holds it, or throwing
// the edits away (closing or loading without saving), leaves nothing to restore. An autosave of
// an earlier run that was not restored is still the author's, and stays.
void EditorState::dropOwnAutosave() {
  if (wroteAutosave) document.discardAutosave();
}

void EditorState::leave() {
  dropOwnAutosave();
  status = RunStatus::Closed;
}

void EditorState::closeWithoutSaving() {
  document.discardAutosave();
  status = RunStatus::Closed;
}

void EditorState::askToClose() {
  entry.close();
  prompt.open(ConfirmPrompt::Purpose::Close, document.path() + " has unsaved changes.",
              "S: save and close    Y: close without saving    N, Escape or Enter: keep editing");
}

// Escape is the way out where the window has no close button (full screen); it asks as the
// close button does, and asks even with nothing to lose, so a second Escape never leaves.
void EditorState::askToLeave() {
  if (document.unsaved()) {
    askToClose();
    return;
  }
  prompt.open(ConfirmPrompt::Purpose::Leave, "Leave the editor?", "Y: leave    N, Escape or Enter: keep editing");
}

// Enter gives the answer that loses nothing: it keeps the work where agreeing would throw it
// away, and agrees where that is what keeps it (the newer autosave, the save asked for).
void EditorState::answerPrompt() {
  ConfirmPrompt::Purpose purpose = prompt.purpose();
  bool enterAgrees =
      purpose == ConfirmPrompt::Purpose::RestoreAutosave || purpose == ConfirmPrompt::Purpose::ReplaceBroken;
  bool enter = input.down(EditorKey::Enter);
  bool saveAnswer = input.down(EditorKey::Save);
  bool yes = input.down(EditorKey::Yes) || (enter && enterAgrees);
  bool reload = purpose == ConfirmPrompt::Purpose::Overwrite && input.down(EditorKey::Load);
  if (input.down(EditorKey::No) || input.down(EditorKey::Escape) || (enter && !enterAgrees)) {
    prompt.close();
    return;
  }
  if (!saveAnswer && !yes && !reload) return;
  prompt.close();
  carryOut(purpose, yes ? PromptAnswer::Agree : saveAnswer ? PromptAnswer::Save : PromptAnswer::Reload);
}

// A save the author asked for inside a question still asks first when the file changed on disk;
// the question's own action then waits for the author to ask again.
void EditorState::carryOut(ConfirmPrompt::Purpose purpose, PromptAnswer answer) {
  const std::string& file = document.path();
  bool agreed = answer == PromptAnswer::Agree;
  switch (purpose) {
    case ConfirmPrompt::Purpose::Close:
      if (agreed) {
        closeWithoutSaving();
      } else if (!askIfChangedOnDisk() && writeFile()) {
        leave();
      }
      break;
    case ConfirmPrompt::Purpose::Leave:
      leave();
      break;
    case ConfirmPrompt::Purpose::Load:
      if (agreed) document.discardAutosave();
      if (agreed || (!askIfChangedOnDisk() && writeFile())) readFile(file, "Loaded " + file);
      break;
    case ConfirmPrompt::Purpose::Overwrite:
      if (answer == PromptAnswer::Reload) {
        readFile(file, "Loaded " + file + " as changed on disk");
      } else {
        writeFile();
      }
      break;
    case ConfirmPrompt::Purpose::ReplaceBroken:
      writeFile();
      break;
    case ConfirmPrompt::Purpose::RestoreAutosave:
      readFile(autosavePathFor(file), "Restored " + autosavePathFor(file));
      break;
    case ConfirmPrompt::Purpose::None:
      break;
  }
}

// A text longer than the entry takes is never cut to fit: it stays whole, and the status line
// says why it cannot be edited here.
void EditorState::openSignText(Message* sign, bool justPlaced) {
  if (!entry.open(justPlaced ? "" : sign->text, al_get_time())) {
    statusLine.show(format("This sign's text has %zu characters, more than the %zu the editor edits; it is left whole.",
                           looseCharacterCount(sign->text), TextEntry::kMostCharacters));
    return;
  }
  editedSign = sign;
  signJustPlaced = justPlaced;
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
  if (!signJustPlaced) document.recordStep();
  editedSign->setText(entry.text());
}

void EditorState::draw(ALLEGRO_DISPLAY*) {
  al_clear_to_color(al_map_rgb(120, 180, 255));
  if (gridVisible) drawGrid();
  document.world().draw();
  drawCursor();
  const PaletteEntry& chosen = palette[selected];
  paletteView.drawChosen(font, PaletteEntry{chosen.kind, channels.fieldsFor(*chosen.kind, chosen.fields)});
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
  statusLine.draw(font, document.unsaved());
  if (prompt.isOpen()) {
    prompt.draw();
  } else if (entry.isOpen()) {
    entry.draw();
  } else if (paletteView.overviewOpen()) {
    const ALLEGRO_MOUSE_STATE* pointer = currentState()->mouseState();
    int pointed = PaletteView::entryAt(pointer->x, pointer->y, static_cast<int>(palette.size()));
    paletteView.drawOverview(font, palette, selected, pointed);
  } else if (helpVisible) {
    help.draw();
  }
  resetBlender();
}
