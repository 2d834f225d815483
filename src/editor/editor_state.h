#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <optional>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/file_dialog.h"
#include "campaign/progress.h"
#include "editor/campaign_prompt.h"
#include "editor/channel_choice.h"
#include "editor/editor_input.h"
#include "editor/editor_session.h"
#include "editor/palette_view.h"
#include "editor/status_line.h"
#include "editor/text_entry.h"
#include "entities/pop_up.h"
#include "world/level_record.h"

class Message;

// The level editor: the mouse paints objects of the chosen palette entry into the 40 x 30
// cells or erases them; Z, X and the wheel choose the entry; S saves the level file, L loads it
// back, P test-plays the level in a nested play state. Entities are never updated here. Tab
// shows every palette entry with its picture, to be clicked. Ctrl+N, Ctrl+O and Ctrl+Shift+S
// start a new level, open one and save it as another file (through the desktop's file dialog);
// C saves it into a campaign.
// Around that: undo, a status line, a help overlay, the switch channel on the number keys and
// the text of signs. The level, its file and the questions around it are the session's.
class EditorState : public AppState {
 public:
  static constexpr const char* kScratchFile = "levels/edit.lv";  // edited when no file is named

  explicit EditorState(const std::string& file = kScratchFile);

  void update(double dt) override;
  void draw(ALLEGRO_DISPLAY* display) override;
  void handleEvent(const ALLEGRO_EVENT& event) override;
  bool onCloseRequest() override;

  EditorSession& session() { return session_; }
  // The palette entry placed by the next click, from 0.
  int chosenEntry() const { return selected; }
  int paletteSize() const { return static_cast<int>(palette.size()); }
  bool overviewOpen() const { return paletteView.overviewOpen(); }
  bool typingSignText() const { return entry.isOpen(); }
  bool askingForCampaign() const { return campaignPrompt.isOpen(); }
  // What the status line shows now (empty once it has timed out), and the loader's line below.
  const std::string& statusMessage() const { return statusLine.message(); }
  const std::string& statusDetail() const { return statusLine.detail(); }

 protected:
  // Runs the test play nested in this state (tests replace it to stay without a display loop).
  virtual void runTestPlay(const char* playFile);
  // Asks for a file in the desktop's dialog, which holds the game's loop (tests replace it).
  virtual std::optional<std::string> chooseFile(const FileQuestion& question);

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
  void respond();
  void showSession();
  Cell mouseCell() const;
  void paint(const Cell& at);
  void erase(const Cell& at);
  void startStep(Stroke& stroke);
  void handleKeys(const Cell& at);
  bool handleControlKeys();
  void chooseChannel();
  void choosePrototype();
  void testPlay();
  void undo();
  void redo();
  void answerQuestion();
  void choosePictured();
  void openSignText(Message* sign, bool justPlaced);
  void typeIntoEntry(const ALLEGRO_KEYBOARD_EVENT& key);
  void openChosen();
  void saveAsChosen();
  void openCampaignPrompt();
  void typeIntoCampaignPrompt(const ALLEGRO_KEYBOARD_EVENT& key);
  void drawGrid() const;
  void drawCursor() const;
  void drawOverlays();

  EditorSession session_;
  // The test plays' deaths and completions: counted apart from every campaign's, never saved.
  Progress testRecord_;
  std::vector<PaletteEntry> palette;
  int selected = 0;
  int lastWheel = 0;
  StatusLine statusLine;
  int noteRevision = 0;  // of the session's note the status line shows
  PopUp questionPanel;
  TextEntry entry;
  CampaignPrompt campaignPrompt;
  ChannelChoice channels;
  bool gridVisible = true;
  bool helpVisible = false;
  PaletteView paletteView;
  EditorInput input;
  Stroke placeStroke;
  Stroke eraseStroke;
  int lastCellX;  // px, the cell of the last placement
  int lastCellY;  // px
  Message* editedSign = nullptr;
  bool signJustPlaced = false;
  bool entryClosedThisFrame = false;
  // The click that chose from the palette, or that opened the editor from the menu, places
  // nothing: the button must be let go first.
  bool placeAfterRelease = true;
  bool windowClosing = false;  // the question open came from the window's close button
  PopUp help;
  ALLEGRO_FONT* font;
};
