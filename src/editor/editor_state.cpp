#include "editor/editor_state.h"

#include <cstdio>
#include <filesystem>

#include "app/blend.h"
#include "app/data_dirs.h"
#include "app/resource.h"
#include "app/utf8.h"
#include "editor/editor_help.h"
#include "editor/test_play.h"
#include "entities/message.h"
#include "entities/prototypes.h"
#include "states/play_state.h"
#include "themes/themes.h"

namespace {

constexpr int kNoCell = -1000;  // px: no placement yet

// A remainder in 0 .. count - 1 even for a negative value (a wheel turned far down at once).
int wrap(int value, int count) { return ((value % count) + count) % count; }

Message* asSign(Entity* entity) { return dynamic_cast<Message*>(entity); }

// The dialogs start in the player's levels folder; a campaign's levels are a folder away.
FileQuestion levelQuestion(FileQuestion::Kind kind, const char* title) {
  return FileQuestion{kind, title, absolutePlayerFile("levels") + "/", "*.lv"};
}

}  // namespace

EditorState::EditorState(const std::string& file)
    : AppState(al_get_current_display()),
      session_(file),
      statusLine(file),
      lastCellX(kNoCell),
      lastCellY(kNoCell),
      font(fontResource("media/font.ttf")) {
  createPalette();
  addHelpLines(help);
  help.visible = true;
  if (al_is_keyboard_installed()) al_register_event_source(queue, al_get_keyboard_event_source());
  session_.open();
  showSession();
}

void EditorState::createPalette() {
  for (const LevelKind& kind : levelKinds()) {
    for (const RecordFields& fields : kind.palette) palette.push_back(PaletteEntry{&kind, fields});
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
  session_.autosave(dt);
  respond();
  showSession();
}

void EditorState::respond() {
  if (session_.question()) return answerQuestion();
  if (entry.isOpen() || campaignPrompt.isOpen()) return;
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
  if (input.down(EditorKey::Save)) session_.save();
  if (input.down(EditorKey::Load)) session_.load();
  // The switches read after a test play are those of its last frame: the Escape that left it
  // must not also ask to leave the editor.
  if (input.down(EditorKey::TestPlay)) return testPlay();
  if (input.down(EditorKey::Grid)) gridVisible = !gridVisible;
  if (input.down(EditorKey::Help)) helpVisible = !helpVisible;
  if (input.down(EditorKey::Palette)) paletteView.openOverview();
  if (input.down(EditorKey::Campaign)) openCampaignPrompt();
  if (input.down(EditorKey::Escape)) {
    if (helpVisible) {
      helpVisible = false;
    } else {
      windowClosing = false;
      session_.leave();
    }
  }
  if (input.down(EditorKey::Enter) && at.inside) {
    if (Message* sign = asSign(session_.document().cellAt(at.px / kCellSize, at.py / kCellSize)))
      openSignText(sign, false);
  }
}

// With Ctrl held, Z and Y are undo and redo, S saves (with Shift, as another file), N starts a
// new level and O opens one; the plain keys do nothing.
bool EditorState::handleControlKeys() {
  if (!input.down(EditorKey::Control)) return false;
  bool shift = input.down(EditorKey::Shift);
  if (input.down(EditorKey::Previous)) {
    shift ? redo() : undo();
  } else if (input.down(EditorKey::Yes)) {
    redo();
  } else if (input.down(EditorKey::Save)) {
    shift ? saveAsChosen() : session_.save();
  } else if (input.down(EditorKey::No)) {
    session_.newLevel();
  } else if (input.down(EditorKey::Open)) {
    openChosen();
  }
  lastWheel = currentState()->mouseState()->z;
  return true;
}

std::optional<std::string> EditorState::chooseFile(const FileQuestion& question) {
  std::optional<std::string> chosen = askForFile(question);
  resumeAfterNested();
  return chosen;
}

void EditorState::openChosen() {
  if (std::optional<std::string> chosen = chooseFile(levelQuestion(FileQuestion::Kind::Open, "Open a level")))
    session_.openFile(*chosen);
}

void EditorState::saveAsChosen() {
  if (std::optional<std::string> chosen = chooseFile(levelQuestion(FileQuestion::Kind::Save, "Save the level as")))
    session_.saveAs(*chosen);
}

void EditorState::openCampaignPrompt() {
  campaignPrompt.open(absolutePlayerFile("packs"), session_.document().path(), al_get_time());
}

// A refused answer is said on the status line and can be mended; the last answer saves.
void EditorState::typeIntoCampaignPrompt(const ALLEGRO_KEYBOARD_EVENT& key) {
  CampaignPrompt::Outcome outcome = campaignPrompt.type(key);
  entryClosedThisFrame = outcome != CampaignPrompt::Outcome::Asking;
  if (outcome == CampaignPrompt::Outcome::Refused) session_.tell(campaignPrompt.problem());
  if (outcome != CampaignPrompt::Outcome::Chosen) return;
  session_.saveIntoCampaign(campaignPrompt.form().packFolder(), campaignPrompt.form().number());
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
  for (GridCell target : line) session_.document().place(target, *chosen.kind, fields);
  placeStroke.last = here;
  lastCellX = at.px;
  lastCellY = at.py;
  if (Message* sign = asSign(session_.document().cellAt(here.column, here.row))) openSignText(sign, true);
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
    if (!session_.document().cellAt(target.column, target.row)) continue;
    startStep(eraseStroke);
    session_.document().erase(target);
  }
}

// A whole stroke is one undo step: the level is recorded before its first change.
void EditorState::startStep(Stroke& stroke) {
  stroke.active = true;
  if (stroke.recorded) return;
  session_.document().recordStep();
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

void EditorState::undo() {
  if (session_.document().undo()) session_.tell("Undone");
}

void EditorState::redo() {
  if (session_.document().redo()) session_.tell("Redone");
}

// The play reads a written copy; a temporary one is removed after it.
void EditorState::testPlay() {
  std::optional<PlayCopy> copy = session_.writePlayCopy();
  if (!copy) return;
  runTestPlay(copy->path.c_str());
  if (copy->temporary) std::remove(copy->path.c_str());
}

// R, and Space after a death, play the level again; every other way out comes back here. A
// level of a pack can keep a completed run as its proof.
void EditorState::runTestPlay(const char* playFile) {
  PlayResult played = PlayResult::Retry;
  PlayedLevel tested = testPlayOf(session_.document().path(), testRecord_);
  std::string folder = std::filesystem::path(session_.document().path()).parent_path().string();
  while (played == PlayResult::Retry && status == RunStatus::Running) {
    PlayState play(tested, playFile, *themes[0]);
    if (tested.number > 0) play.session().recordProof(folder, tested.number, playFile);
    runNested(*this, play);
    played = play.result();
  }
}

// A text longer than the entry takes is never cut to fit: it stays whole, and the status line
// says why it cannot be edited here.
void EditorState::openSignText(Message* sign, bool justPlaced) {
  if (!entry.open(justPlaced ? "" : sign->text, al_get_time())) {
    session_.tell(format("This sign's text has %zu characters, more than the %zu the editor edits; it is left whole.",
                         looseCharacterCount(sign->text), TextEntry::kMostCharacters));
    return;
  }
  editedSign = sign;
  signJustPlaced = justPlaced;
}

void EditorState::handleEvent(const ALLEGRO_EVENT& event) {
  if (event.type == ALLEGRO_EVENT_KEY_CHAR && campaignPrompt.isOpen()) return typeIntoCampaignPrompt(event.keyboard);
  if (event.type == ALLEGRO_EVENT_KEY_CHAR && entry.isOpen()) return typeIntoEntry(event.keyboard);
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
  if (!signJustPlaced) session_.document().recordStep();
  editedSign->setText(entry.text());
}

// The answer keys: N or Escape decline, Enter gives the answer that loses no work, then Y, S, L.
void EditorState::answerQuestion() {
  EditorAnswer given;
  if (input.down(EditorKey::No) || input.down(EditorKey::Escape)) {
    given = EditorAnswer::No;
  } else if (input.down(EditorKey::Enter)) {
    given = EditorAnswer::Enter;
  } else if (input.down(EditorKey::Yes)) {
    given = EditorAnswer::Yes;
  } else if (input.down(EditorKey::Save)) {
    given = EditorAnswer::Save;
  } else if (input.down(EditorKey::Load)) {
    given = EditorAnswer::Reload;
  } else {
    return;
  }
  session_.answer(given);
}

bool EditorState::onCloseRequest() {
  windowClosing = true;
  entry.close();
  campaignPrompt.close();
  bool closes = session_.requestClose();
  showSession();
  return closes;
}

// The session's latest note goes to the status line, its question to the panel, and its end
// ends the editor.
void EditorState::showSession() {
  statusLine.nameFile(session_.document().path());
  if (noteRevision != session_.noteRevision()) {
    noteRevision = session_.noteRevision();
    const EditorNote& note = session_.note();
    if (note.held) {
      statusLine.hold(note.text, note.detail);
    } else {
      statusLine.show(note.text, note.detail);
    }
  }
  const std::optional<EditorQuestion>& question = session_.question();
  if (question && (questionPanel.lines.empty() || questionPanel.lines.front().first != question->question)) {
    questionPanel.lines.clear();
    questionPanel.addLine(question->question, " ");
    questionPanel.addLine(question->answers, "");
    questionPanel.visible = true;
  }
  if (!question) questionPanel.lines.clear();
  // Leaving returns to whatever started the editor (the menu, or the end of the program); a
  // window closed ends every state.
  if (session_.finished()) status = windowClosing ? RunStatus::Closed : RunStatus::Done;
}

void EditorState::draw(ALLEGRO_DISPLAY*) {
  al_clear_to_color(al_map_rgb(120, 180, 255));
  if (gridVisible) drawGrid();
  session_.document().world().draw();
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
  statusLine.draw(font, session_.document().unsaved());
  if (session_.question()) {
    questionPanel.draw();
  } else if (entry.isOpen()) {
    entry.draw();
  } else if (campaignPrompt.isOpen()) {
    campaignPrompt.draw();
  } else if (paletteView.overviewOpen()) {
    const ALLEGRO_MOUSE_STATE* pointer = currentState()->mouseState();
    int pointed = PaletteView::entryAt(pointer->x, pointer->y, static_cast<int>(palette.size()));
    paletteView.drawOverview(font, palette, selected, pointed);
  } else if (helpVisible) {
    help.draw();
  }
  resetBlender();
}
