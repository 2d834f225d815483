#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>
#include <vector>

#include "app/app_state.h"
#include "editor/autosave.h"
#include "editor/channel_choice.h"
#include "editor/confirm_prompt.h"
#include "editor/editor_document.h"
#include "editor/editor_input.h"
#include "editor/palette_view.h"
#include "editor/status_line.h"
#include "editor/text_entry.h"
#include "entities/pop_up.h"
#include "world/level_record.h"

class Message;

// The level editor: the mouse paints objects of the chosen palette entry into the 40 x 30
// cells or erases them; Z, X and the wheel choose the entry; S saves the level file, L loads it
// back, P test-plays the level in a nested play state. Entities are never updated here. Tab
// shows every palette entry with its picture, to be clicked.
// Around that: undo, a status line, questions before work is lost, an autosave, a help
// overlay, the switch channel on the number keys and the text of signs. The level itself, with
// its file and its undo history, is the document.
class EditorState : public AppState {
 public:
  static constexpr const char* kScratchFile = "levels/edit.lv";  // edited when no file is named

  explicit EditorState(const std::string& file = kScratchFile);

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;
  void handleEvent(const ALLEGRO_EVENT& event) override;
  bool onCloseRequest() override;

  EditorDocument document;
  std::vector<PaletteEntry> palette;
  int selected = 0;
  int lastWheel = 0;
  StatusLine statusLine;
  ConfirmPrompt prompt;
  TextEntry entry;
  ChannelChoice channels;
  bool gridVisible = true;
  bool helpVisible = false;
  PaletteView paletteView;

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
  void openAtStart();
  Cell mouseCell() const;
  void paint(const Cell& at);
  void erase(const Cell& at);
  void startStep(Stroke& stroke);
  void handleKeys(const Cell& at);
  bool handleControlKeys();
  void chooseChannel();
  void choosePrototype();
  void save();
  bool askIfChangedOnDisk();
  void load();
  bool writeFile();
  void readFile(const std::string& path, const std::string& doneText);
  void testPlay();
  void autosave(double dt);
  void undo();
  void redo();
  // What the author answered an open question with: Y (or Enter where it agrees), S, or L.
  enum class PromptAnswer { Agree, Save, Reload };
  void answerPrompt();
  void carryOut(ConfirmPrompt::Purpose purpose, PromptAnswer answer);
  void askToClose();
  void askToLeave();
  void dropOwnAutosave();
  void leave();
  void closeWithoutSaving();
  void choosePictured();
  void openSignText(Message* sign, bool justPlaced);
  void typeIntoEntry(const ALLEGRO_KEYBOARD_EVENT& key);
  void report(const LoadResult& outcome, const std::string& doneText);
  void drawGrid() const;
  void drawCursor() const;
  void drawOverlays();

  EditorInput input;
  AutosaveClock autosaveClock;
  Stroke placeStroke;
  Stroke eraseStroke;
  int lastCellX;  // px, the cell of the last placement
  int lastCellY;  // px
  Message* editedSign = nullptr;
  bool signJustPlaced = false;
  bool entryClosedThisFrame = false;
  bool placeAfterRelease = false;  // the click that chose from the palette places nothing
  bool wroteAutosave = false;
  PopUp help;
  ALLEGRO_FONT* font;
};
