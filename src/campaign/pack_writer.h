#pragma once

#include <string>

#include "app/result.h"

// A pack's folder as the game and its tools write it: a new pack, and a level the editor saves
// into a pack. The author's own lines in pack.txt are kept as they were written.

// pack.txt for a new pack of that name: a few comment lines saying how to fill it in, then the
// name, empty author and description lines, and level 1 with a first target.
std::string newPackText(const std::string& name);

// The number of the level that would come after the pack's last: the one after the highest
// pack.txt lists or, when it lists none, after the last numbered file; 0 when the pack already
// holds the most levels a pack may.
int nextFreeLevel(const std::string& packFolder);

// Readies the pack folder to take level `number` (from 1 to nextFreeLevel): makes the folder
// with a pack.txt named after it when there is none, and lists the level in pack.txt with a
// first target when pack.txt does not. The problem says why the level's file may not be written.
Result<> makeRoomForLevel(const std::string& packFolder, int number);
