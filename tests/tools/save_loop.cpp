// Drives the game's own file writers for the tests of saving under stress.
//   save-loop progress|level|settings|replay PATH
//                                            save over and over until killed: progress as a game
//                                            does (a death, then a save), the others alternating
//                                            two contents; "saving" is printed as saving begins,
//                                            for progress with the deaths the file held
//   save-loop check PATH                     load a progress file: print its deaths, or exit 1
//                                            when it was damaged
//   save-loop play PATH FIRST STEP           a game completing the levels FIRST, FIRST + STEP, ...
//                                            of 255, a death before each, saving after each
//   save-loop read PATH STOPFILE             read the progress file until STOPFILE exists; exit 1
//                                            if a read ever found it empty or torn
//   save-loop once progress|level|settings|replay PATH
//                                            one change saved; exit 1 (progress and settings
//                                            with their printed line) if the save failed
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/safe_file.h"
#include "app/settings.h"
#include "campaign/progress.h"
#include "replay/replay_file.h"
#include "world/level_file.h"

namespace {

constexpr int kLevels = 255;  // as many as the file holds, so two games have many to share
constexpr size_t kHeaderBytes = 5;
constexpr size_t kRecordBytes = 12;

// The killer waits for this line, so its random delay falls among the saves, not before them.
void sayWhenSaving(const std::string& what = "") {
  std::printf("saving%s\n", what.c_str());
  std::fflush(stdout);
}

int saveProgressForever(const char* path) {
  Progress record;
  record.path = path;
  record.load(16);
  sayWhenSaving(" " + std::to_string(record.deaths));
  for (;;) {
    record.countDeath();
    if (!record.save().ok()) return 1;
  }
}

int saveLevelForever(const char* path) {
  const std::string contents[] = {std::string(4000, 'a'), std::string(6000, 'b')};
  sayWhenSaving();
  for (int round = 0;; ++round) {
    if (!writeLevelBytes(path, contents[round % 2]).ok()) return 1;
  }
}

// A run of `frames` idle frames; two of different lengths are two different files.
Replay idleRun(uint32_t frames) {
  Replay replay;
  replay.campaign = "levels";
  replay.runs.push_back(FrameRun{0.017, PlayInput{}, frames});
  return replay;
}

int saveReplayForever(const char* path) {
  const Replay runs[] = {idleRun(100), idleRun(5000)};
  sayWhenSaving();
  for (int round = 0;; ++round) {
    if (!saveReplay(path, runs[round % 2]).ok()) return 1;
  }
}

int saveSettingsForever(const char* path) {
  Settings settings;
  sayWhenSaving();
  for (int round = 0;; ++round) {
    settings.music = round % 2;
    settings.theme = round % 2 ? "Sky" : "Liquor";
    if (!saveSettings(settings, path).ok()) return 1;
  }
}

int check(const char* path) {
  Progress record;
  record.path = path;
  record.load(0);
  if (!record.damageNote.empty()) return 1;
  std::printf("%d\n", static_cast<int>(record.deaths));
  return 0;
}

int play(const char* path, int first, int step) {
  Progress record;
  record.path = path;
  record.load(kLevels);
  for (int level = first; level < kLevels; level += step) {
    record.countDeath();
    record.recordCompletion(level, false, 30.0);
    if (!record.keep().ok()) return 1;
  }
  return 0;
}

// Reads the file as any other program would, without the lock, so that only the way it is
// replaced keeps a reader from seeing it half-written.
int readUntil(const char* path, const char* stopFile) {
  long reads = 0, torn = 0;
  while (access(stopFile, F_OK) != 0) {
    Result<std::string> read = readWholeFile(path);
    if (!read.ok()) continue;
    const std::string& bytes = read.value();
    ++reads;
    bool whole = bytes.size() >= kHeaderBytes &&
                 bytes.size() == kHeaderBytes + kRecordBytes * static_cast<unsigned char>(bytes[4]);
    torn += !whole;
  }
  std::printf("%ld reads, %ld empty or torn\n", reads, torn);
  return torn == 0 && reads > 0 ? 0 : 1;
}

int saveOnce(const char* kind, const char* path) {
  if (std::strcmp(kind, "level") == 0) return writeLevelBytes(path, "av\x01\x01").ok() ? 0 : 1;
  if (std::strcmp(kind, "replay") == 0) return saveReplay(path, idleRun(1)).ok() ? 0 : 1;
  if (std::strcmp(kind, "settings") == 0) {
    Settings settings = loadSettings(path);
    settings.music = !settings.music;
    return saveSettings(settings, path).ok() ? 0 : 1;
  }
  Progress record;
  record.path = path;
  record.load(16);
  record.countDeath();
  record.recordCompletion(0, true, 1.0);
  return record.save().ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (argc == 3 && command == "progress") return saveProgressForever(argv[2]);
  if (argc == 3 && command == "level") return saveLevelForever(argv[2]);
  if (argc == 3 && command == "settings") return saveSettingsForever(argv[2]);
  if (argc == 3 && command == "replay") return saveReplayForever(argv[2]);
  if (argc == 3 && command == "check") return check(argv[2]);
  if (argc == 5 && command == "play") return play(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
  if (argc == 4 && command == "read") return readUntil(argv[2], argv[3]);
  if (argc == 4 && command == "once") return saveOnce(argv[2], argv[3]);
  return 2;
}
