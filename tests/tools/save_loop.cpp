// Saves one file over and over through the game's own writer, alternating two contents, until
// it is killed. The kill test checks that the file is always one of the two, whole.
//   save-loop progress|level|settings PATH
#include <cstdio>
#include <cstring>
#include <string>

#include "app/settings.h"
#include "states/progress.h"
#include "world/level_file.h"

namespace {

void saveProgressForever(const char* path) {
  Progress record;
  record.path = path;
  record.ensureRecords(16);
  for (int round = 0;; ++round) {
    record.deaths = round % 2;
    record.records[5].completed = round % 2;
    if (!record.save()) return;
  }
}

void saveLevelForever(const char* path) {
  const std::string contents[] = {std::string(4000, 'a'), std::string(6000, 'b')};
  for (int round = 0;; ++round) {
    if (!writeLevelBytes(path, contents[round % 2]).ok()) return;
  }
}

void saveSettingsForever(const char* path) {
  Settings settings;
  for (int round = 0;; ++round) {
    settings.music = round % 2;
    settings.theme = round % 2 ? "Sky" : "Liquor";
    if (!saveSettings(settings, path)) return;
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  if (std::strcmp(argv[1], "progress") == 0) saveProgressForever(argv[2]);
  if (std::strcmp(argv[1], "level") == 0) saveLevelForever(argv[2]);
  if (std::strcmp(argv[1], "settings") == 0) saveSettingsForever(argv[2]);
  return 1;
}
