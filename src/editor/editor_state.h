#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <memory>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/geometry.h"
#include "app/switch.h"
#include "editor/autosave.h"
#include "editor/channel_choice.h"
#include "editor/confirm_prompt.h"
#include "editor/status_line.h"
#include "editor/stroke_line.h"
#include "editor/text_entry.h"
#include "editor/undo_history.h"
#include "entities/pop_up.h"
#include "world/entity.h"
#include "world/level_file.h"
#include "world/level_record.h"
#include "world/world.h"

class Message;

// The level editor: the mouse paints objects of the chosen palette entry into the 40 x 30
// cells or erases them; Z, X and the wheel choose the entry; S saves the level file, L loads it
// back, P test-plays the level in a nested play state. Entities are never updated here.
// Around that: undo, a status line, questions before work is lost, an autosave, a help
// overlay, the switch channel on the number keys and the text of signs.
class EditorState : public AppState {
 public:
  static constexpr int kColumns = kGridColumns;
  static constexpr int kRows = kGridRows;

  static constexpr const char* kScratchFile = "levels/edit.lv";  // edited when no file is named

  explicit EditorState(std::string file = kScratchFile);
  ~EditorState() override;

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;
  void handleEvent(const ALLEGRO_EVENT& event) override;
  bool onCloseRequest() override;

  // The entity in the cell at (column, row), null when empty or outside the grid.
  Entity* cellAt(int column, int row) const;
  bool unsaved() const { return history.revision() != savedRevision; }

  // One choice of the palette: a kind, and the fields of the records it places.
  struct PaletteEntry {
    const LevelKind* kind;
    RecordFields fields;
    std::string label() const { return kind->label(fields); }
  };

  std::vector<PaletteEntry> palette;
  int selected = 0;
  World* world;
  int lastCellX;  // px, the cell of the last placement
  int lastCellY;  // px
  int lastWheel = 0;
  StatusLine statusLine;
  ConfirmPrompt prompt;
  TextEntry entry;
  ChannelChoice channels;
  bool gridVisible = true;
  bool helpVisible = false;

 protected:
  // Runs the test play nested in this state (tests replace it to stay without a display loop).
  virtual void runTestPlay(const char* playFile);

 private:
  struct Cell {
    int px;
    int py;
    bool inside;
  };
  // A drag of one button: the last cell it touched, and whether its undo step is recorded.
  struct Stroke {
    bool active = false;
    bool recorded = false;
    GridCell last{};
  };

  void createPalette();
  void createSwitches();
  void openAtStart();
  Cell mouseCell() const;
  Entity*& cell(int column, int row);
  void placeAt(GridCell at);
  void removeOtherAvatars(const Entity& placed);
  void eraseAt(GridCell at);
  void paint(const Cell& at);
  void erase(const Cell& at);
  void startStep(Stroke& stroke);
  void handleKeys(const Cell& at);
  bool handleControlKeys();
  void chooseChannel();
  void choosePrototype();
  void save();
  void load();
  bool writeFile();
  void readFile(const std::string& path, const std::string& doneText);
  void testPlay();
  void autosave(double dt);
  void undo();
  void redo();
  void restore(const LevelSnapshot& level);
  void replaceWorld(World* level);
  void mirrorCells();
  void answerPrompt();
  void askToClose();
  void openSignText(Message* sign, bool justPlaced);
  void typeIntoEntry(const ALLEGRO_KEYBOARD_EVENT& key);
  void report(const LevelFileResult& outcome, const std::string& doneText);
  void drawGrid() const;
  void drawCursor() const;
  void drawOverlays();

  Switch* own(Switch* created);
  Switch* pressOf(Switch* inner);
  Switch* pressOfKey(int keyCode) { return pressOf(own(new Key(keyCode))); }
  bool controlHeld() const;
  bool shiftHeld() const;

  std::string fileName;
  bool fileBroken = false;  // the file could not be read at start: S asks before replacing it
  int savedRevision = 0;
  UndoHistory history;
  AutosaveClock autosaveClock;
  Stroke placeStroke;
  Stroke eraseStroke;
  Message* editedSign = nullptr;
  bool signJustPlaced = false;
  bool entryClosedThisFrame = false;
  PopUp help;

  std::vector<Switch*> switches;  // the editor's own, in creation order
  Switch* placePress;
  Switch* placeHeld;
  Switch* saveKey;
  Switch* loadKey;
  Switch* playKey;
  Switch* previousKey;
  Switch* nextKey;
  Switch* eraseHeld;
  Switch* leftControl;
  Switch* rightControl;
  Switch* leftShift;
  Switch* rightShift;
  Switch* yesKey;  // Y: redo with Ctrl, yes to a question
  Switch* gridKey;
  Switch* helpKey;        // F1
  Switch* helpLetterKey;  // H
  Switch* enterKey;
  Switch* noKey;
  Switch* escapeKey;
  std::vector<Switch*> digitKeys;  // 0 to 9 on the main keys, then on the keypad
  ALLEGRO_FONT* font;
  Entity* cells[kColumns * kRows] = {};
};
