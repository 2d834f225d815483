#include "editor/editor_session.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "app/data_dirs.h"
#include "app/safe_file.h"
#include "campaign/discovery.h"
#include "campaign/pack_writer.h"
#include "editor/level_check.h"
#include "entities/prototypes.h"

namespace fs = std::filesystem;

namespace {

const char* const kPlayFile = "levels/play.lv";
const char* const kHint = "F1: help";
const char* const kNewName = "levels/new";  // in the player directory, with ".lv" or "-N.lv"
constexpr GridCell kNewAvatar{2, 26};       // where a new level's avatar stands

// The first name of a new level that names no file, nor an autosave of one.
std::string freeNewLevelName() {
  for (int number = 1;; ++number) {
    std::string name = playerFile(kNewName + (number == 1 ? std::string() : "-" + std::to_string(number)) + ".lv");
    std::error_code error;
    if (!fs::exists(name, error) && !fs::exists(autosavePathFor(name), error)) return name;
  }
}

// A fresh file in the system's temporary folder, or nothing when none can be made.
std::optional<std::string> temporaryPlayFile() {
  std::error_code error;
  fs::path folder = fs::temp_directory_path(error);
  if (error) return std::nullopt;
  std::string name = (folder / "binhopper-play-XXXXXX").string();
  int descriptor = mkstemp(name.data());
  if (descriptor < 0) return std::nullopt;
  close(descriptor);
  return name;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "; ") + line;
  return text;
}

void printLine(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

}  // namespace

EditorSession::EditorSession(const std::string& file) : document_(file) {}

void EditorSession::open() {
  const std::string& file = document_.path();
  hold(kHint);
  Result<> opened = document_.open();
  if (opened.ok()) {
    hold("Loaded " + file + ". " + kHint);
  } else if (document_.broken()) {
    printLine(opened.problem().message);
    hold(plainLoadFailure(opened.problem()), opened.problem().message);
  }
  if (autosaveIsNewer(file)) {
    ask(EditorQuestion::Purpose::RestoreAutosave, autosavePathFor(file) + " is newer than " + file + ".",
        "Y or Enter: restore it    N or Escape: open " + file + " as it is");
  }
}

void EditorSession::ask(EditorQuestion::Purpose purpose, const std::string& question, const std::string& answers) {
  question_ = EditorQuestion{purpose, question, answers};
}

void EditorSession::tell(const std::string& text, const std::string& detail) {
  note_ = EditorNote{text, detail, false};
  ++noteRevision_;
}

void EditorSession::hold(const std::string& text, const std::string& detail) {
  note_ = EditorNote{text, detail, true};
  ++noteRevision_;
}

// A failure is printed as well, with the loader's own line.
void EditorSession::report(const Result<>& outcome, const std::string& doneText) {
  if (outcome.ok()) return tell(doneText);
  printLine(outcome.problem().message);
  tell(plainLoadFailure(outcome.problem()), outcome.problem().message);
}

void EditorSession::save() {
  if (document_.broken()) {
    ask(EditorQuestion::Purpose::ReplaceBroken, document_.path() + " could not be read; saving replaces it.",
        "S, Y or Enter: replace it    N or Escape: cancel");
  } else if (!askIfChangedOnDisk()) {
    writeFile();
  }
}

// Another program or another editor wrote the file since this one read or saved it: whose level
// is kept is the author's choice, never the last writer's by accident.
bool EditorSession::askIfChangedOnDisk() {
  if (!document_.changedOnDisk()) return false;
  ask(EditorQuestion::Purpose::Overwrite,
      document_.path() + " was changed on disk since the editor loaded or saved it.",
      "S or Y: keep mine (save over it)    L: reload theirs    N, Escape or Enter: cancel");
  return true;
}

// After each save the status line also says what would keep the level from being finished.
bool EditorSession::writeFile() {
  Result<> outcome = document_.save();
  std::string problems = joined(levelProblems(document_.world()));
  report(outcome, "Saved " + document_.path() + (problems.empty() ? "" : ". Problems: " + problems));
  return outcome.ok();
}

void EditorSession::load() {
  const std::string& file = document_.path();
  bool changed = document_.changedOnDisk();
  if (!document_.unsaved()) {
    readFile(file, "Loaded " + file + (changed ? ", as changed on disk since the editor last read or saved it" : ""));
    return;
  }
  ask(EditorQuestion::Purpose::Load,
      file + " has unsaved changes" + (changed ? ", and the file was changed on disk since." : "."),
      "S: save, then load    Y: load without saving    N, Escape or Enter: cancel");
}

// Unsaved work is saved or thrown away first, as the author answers; false when asked.
bool EditorSession::askToSaveFirst(EditorQuestion::Purpose purpose, const std::string& doing) {
  if (!document_.unsaved()) return false;
  ask(purpose, document_.path() + " has unsaved changes.",
      "S: save, then " + doing + "    Y: " + doing + " without saving    N, Escape or Enter: cancel");
  return true;
}

void EditorSession::newLevel() {
  if (!askToSaveFirst(EditorQuestion::Purpose::New, "start a new level")) startNew(true);
}

void EditorSession::startNew(bool workKept) {
  EditorDocument fresh(freeNewLevelName());
  const LevelKind& avatar = *findKind(levelKinds(), "av");
  fresh.place(kNewAvatar, avatar, avatar.palette.front());
  std::string file = fresh.path();
  switchTo(std::move(fresh), workKept);
  tell("A new level, " + file + ": S saves it there, Ctrl+Shift+S elsewhere, C into a campaign");
}

void EditorSession::openFile(const std::string& path) {
  pendingFile_ = path;
  if (!askToSaveFirst(EditorQuestion::Purpose::Open, "open " + path)) openNow(path, true);
}

void EditorSession::openNow(const std::string& path, bool workKept) {
  EditorDocument opened(path);
  Result<> result = opened.open();
  if (!result.ok() && result.kind() != Failure::Empty) return report(result, "");
  switchTo(std::move(opened), workKept);
  tell("Opened " + path);
  if (autosaveIsNewer(path)) {
    ask(EditorQuestion::Purpose::RestoreAutosave, autosavePathFor(path) + " is newer than " + path + ".",
        "Y or Enter: restore it    N or Escape: open " + path + " as it is");
  }
}

void EditorSession::saveAs(const std::string& chosen) {
  std::string path = fs::path(chosen).has_extension() ? chosen : chosen + ".lv";
  if (document_.isOwnFile(path)) return save();
  pendingFile_ = path;
  pendingPack_.clear();
  std::error_code error;
  if (!fs::exists(path, error)) return saveAsNow(path);
  ask(EditorQuestion::Purpose::Replace, path + " already exists.", "Y: replace it    N, Escape or Enter: cancel");
}

// The autosave of the old file kept work that is now saved under the new name.
void EditorSession::saveAsNow(const std::string& path) {
  if (!pendingPack_.empty()) {
    Result<> room = makeRoomForLevel(pendingPack_, pendingNumber_);
    pendingPack_.clear();
    if (!room.ok()) return tell("Not saved: " + room.problem().message);
  }
  bool hadAutosave = wroteAutosave_;
  std::string oldFile = document_.path();
  Result<> outcome = document_.saveAs(path);
  if (outcome.ok() && hadAutosave) {
    std::error_code error;
    fs::remove(autosavePathFor(oldFile), error);
    wroteAutosave_ = false;
  }
  std::string problems = joined(levelProblems(document_.world()));
  report(outcome, "Saved " + path + (problems.empty() ? "" : ". Problems: " + problems));
}

void EditorSession::saveIntoCampaign(const std::string& packFolder, int number) {
  std::string name = fs::path(packFolder).filename().string();
  Result<> named = checkFolderName(name);
  if (named.ok()) named = checkFolderNameFree(name, gameCampaignPlaces(), packFolder);
  if (!named.ok()) return tell("Not saved: " + named.problem().message);
  std::string file = packFolder + "/" + std::to_string(number) + ".lv";
  pendingFile_ = file;
  pendingPack_ = packFolder;
  pendingNumber_ = number;
  std::error_code error;
  if (document_.isOwnFile(file) || !fs::exists(file, error)) return saveAsNow(file);
  ask(EditorQuestion::Purpose::Replace, file + " holds level " + std::to_string(number) + " of " + name + ".",
      "Y: replace it with this level    N, Escape or Enter: cancel");
}

void EditorSession::switchTo(EditorDocument next, bool workKept) {
  close(workKept);
  finished_ = false;
  document_ = std::move(next);
  wroteAutosave_ = false;
  autosaveClock_ = AutosaveClock{};
}

void EditorSession::readFile(const std::string& path, const std::string& doneText) {
  report(document_.load(path), doneText);
}

// The document never writes its own file as a copy.
std::optional<PlayCopy> EditorSession::writePlayCopy() {
  const std::string playFile = playerFile(kPlayFile);
  Result<> outcome = document_.writeCopy(playFile);
  if (outcome.ok()) return PlayCopy{playFile, false};
  std::optional<std::string> temporary = temporaryPlayFile();
  if (temporary && document_.writeCopy(*temporary).ok()) return PlayCopy{*temporary, true};
  report(outcome, "");
  return std::nullopt;
}

void EditorSession::autosave(double dt) {
  if (!autosaveClock_.due(dt, document_.unsaved())) return;
  Result<> outcome = document_.writeCopy(autosavePathFor(document_.path()));
  if (!outcome.ok()) report(outcome, "");
  wroteAutosave_ = wroteAutosave_ || outcome.ok();
}

bool EditorSession::requestClose() {
  if (!document_.unsaved()) {
    dropOwnAutosave();
    return true;
  }
  askToClose();
  return false;
}

// An autosave is there for a crash; leaving with the level as its file holds it, or throwing
// the edits away (closing or loading without saving), leaves nothing to restore. An autosave of
// an earlier run that was not restored is still the author's, and stays.
void EditorSession::dropOwnAutosave() {
  if (wroteAutosave_) document_.discardAutosave();
}

void EditorSession::close(bool keepWork) {
  if (keepWork) {
    dropOwnAutosave();
  } else {
    document_.discardAutosave();
  }
  finished_ = true;
}

void EditorSession::askToClose() {
  ask(EditorQuestion::Purpose::Close, document_.path() + " has unsaved changes.",
      "S: save and close    Y: close without saving    N, Escape or Enter: keep editing");
}

// Escape is the way out where the window has no close button (full screen); it asks as the
// close button does.
void EditorSession::leave() {
  if (document_.unsaved()) return askToClose();
  ask(EditorQuestion::Purpose::Leave, "Leave the editor?", "Y: leave    N, Escape or Enter: keep editing");
}

// Enter keeps the work where agreeing would throw it away, and agrees where that is what keeps
// it (the newer autosave, the save asked for).
void EditorSession::answer(EditorAnswer given) {
  if (!question_) return;
  EditorQuestion::Purpose purpose = question_->purpose;
  bool enterAgrees =
      purpose == EditorQuestion::Purpose::RestoreAutosave || purpose == EditorQuestion::Purpose::ReplaceBroken;
  if (given == EditorAnswer::No || (given == EditorAnswer::Enter && !enterAgrees)) {
    question_.reset();
    return;
  }
  if (given == EditorAnswer::Enter) given = EditorAnswer::Yes;
  if (given == EditorAnswer::Reload && purpose != EditorQuestion::Purpose::Overwrite) return;
  question_.reset();
  carryOut(purpose, given);
}

// A save the author asked for inside a question still asks first when the file changed on disk;
// the question's own action then waits for the author to ask again.
void EditorSession::carryOut(EditorQuestion::Purpose purpose, EditorAnswer given) {
  const std::string& file = document_.path();
  bool agreed = given == EditorAnswer::Yes;
  switch (purpose) {
    case EditorQuestion::Purpose::Close:
      if (agreed) {
        close(false);
      } else if (!askIfChangedOnDisk() && writeFile()) {
        close(true);
      }
      break;
    case EditorQuestion::Purpose::Leave:
      close(true);
      break;
    case EditorQuestion::Purpose::Load:
      if (agreed) document_.discardAutosave();
      if (agreed || (!askIfChangedOnDisk() && writeFile())) readFile(file, "Loaded " + file);
      break;
    case EditorQuestion::Purpose::Overwrite:
      if (given == EditorAnswer::Reload) {
        readFile(file, "Loaded " + file + " as changed on disk");
      } else {
        writeFile();
      }
      break;
    case EditorQuestion::Purpose::ReplaceBroken:
      writeFile();
      break;
    case EditorQuestion::Purpose::RestoreAutosave:
      readFile(autosavePathFor(file), "Restored " + autosavePathFor(file));
      break;
    case EditorQuestion::Purpose::New:
    case EditorQuestion::Purpose::Open:
      if (!agreed && (askIfChangedOnDisk() || !writeFile())) break;
      if (purpose == EditorQuestion::Purpose::New) {
        startNew(!agreed);
      } else {
        openNow(pendingFile_, !agreed);
      }
      break;
    case EditorQuestion::Purpose::Replace:
      saveAsNow(pendingFile_);
      break;
  }
}
