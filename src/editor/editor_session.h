#pragma once

#include <optional>
#include <string>

#include "app/load_result.h"
#include "editor/autosave.h"
#include "editor/editor_document.h"

// A question the editor asks before it throws work away, replaces a file it could not read or
// overwrites a file that changed on disk. While one is open the editor takes no other input.
struct EditorQuestion {
  enum class Purpose { Close, Leave, Load, ReplaceBroken, RestoreAutosave, Overwrite, New, Open, Replace };

  Purpose purpose;
  std::string question;
  std::string answers;  // the keys that answer it, as the panel shows them
};

// The author's answer: Y, S, L (which only a file changed on disk takes), N or Escape, or
// Enter, which gives the answer that loses no work.
enum class EditorAnswer { Yes, Save, Reload, No, Enter };

// A line for the status bar: the outcome of the last action and, for a failure, the loader's
// own line below it. A held line stays until the next one.
struct EditorNote {
  std::string text;
  std::string detail;
  bool held = false;
};

// The file a test play reads.
struct PlayCopy {
  std::string path;
  bool temporary;  // to be removed after the play
};

// The level being edited and the questions around its file, without a display: opening it
// (and offering a newer autosave), saving, loading, closing and leaving, each asking first
// where work or another program's file could be lost, the autosave, and the copy a test play
// reads. The editor state turns keys into calls and draws the question and the notes.
class EditorSession {
 public:
  explicit EditorSession(const std::string& file);

  // Opens the file at start, so that S straight after the start cannot replace a real level with
  // an empty one; a file that cannot be read is only replaced after a question.
  void open();
  void save();
  void load();
  // An empty level with an avatar, under a new name in the player's levels folder
  // ("levels/new.lv", "levels/new-2.lv", ...), asking first when unsaved work would be lost.
  void newLevel();
  // The level in the file the author chose, which becomes the file edited; asks first when
  // unsaved work would be lost. A file that cannot be read leaves the level as it was; an empty
  // one (a new pack's first level) opens as an empty level.
  void openFile(const std::string& path);
  // Writes the level to the file the author chose (".lv" added to a name without a suffix),
  // which becomes the file edited; asks before replacing another file.
  void saveAs(const std::string& chosen);
  // Writes the level as level `number` of the pack in `packFolder`, made (with its pack.txt)
  // when new and listing the level; asks before replacing another level of it.
  void saveIntoCampaign(const std::string& packFolder, int number);
  // The window's close button: true when nothing can be lost and the editor may close now.
  bool requestClose();
  // Escape: asks even with nothing to lose, so a second Escape never leaves.
  void leave();
  void answer(EditorAnswer given);
  // Writes unsaved work beside the file once a minute.
  void autosave(double dt);
  // Writes the level for a test play and gives the file to play: "levels/play.lv", or a
  // temporary file when that cannot be written or is the file being edited; none when the
  // level cannot be written at all.
  std::optional<PlayCopy> writePlayCopy();
  void tell(const std::string& text, const std::string& detail = "");

  EditorDocument& document() { return document_; }
  const std::optional<EditorQuestion>& question() const { return question_; }
  const EditorNote& note() const { return note_; }
  // Changes with every note.
  int noteRevision() const { return noteRevision_; }
  // The author has left (or closed): the editor ends.
  bool finished() const { return finished_; }

 private:
  void ask(EditorQuestion::Purpose purpose, const std::string& question, const std::string& answers);
  bool askIfChangedOnDisk();
  bool writeFile();
  void readFile(const std::string& path, const std::string& doneText);
  void report(const LoadResult& outcome, const std::string& doneText);
  void hold(const std::string& text, const std::string& detail = "");
  void carryOut(EditorQuestion::Purpose purpose, EditorAnswer given);
  void askToClose();
  void dropOwnAutosave();
  void close(bool keepWork);
  // What a question about unsaved work does once the work is saved or thrown away.
  void startNew(bool workKept);
  void openNow(const std::string& path, bool workKept);
  void saveAsNow(const std::string& path);
  // Makes the document `next`: what the old file's autosave kept is saved or thrown away by then.
  void switchTo(EditorDocument next, bool workKept);
  bool askToSaveFirst(EditorQuestion::Purpose purpose, const std::string& doing);

  EditorDocument document_;
  AutosaveClock autosaveClock_;
  bool wroteAutosave_ = false;
  std::optional<EditorQuestion> question_;
  std::string pendingFile_;  // the file a question about opening or replacing waits to use
  std::string pendingPack_;  // the pack a question about replacing a level waits to save into
  int pendingNumber_ = 0;
  EditorNote note_;
  int noteRevision_ = 0;
  bool finished_ = false;
};
