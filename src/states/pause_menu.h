#pragma once

#include <string>
#include <vector>

// What a level's pause menu offers, top to bottom, and the words on each entry.
enum class PauseChoice { Resume, Retry, WayThrough, Options, Help, Leave };
struct PauseEntry {
  PauseChoice choice;
  std::string label;
};

// Which play is paused: the way out and the retry are named after where they lead.
enum class PausedPlay { Level, TestPlay, Replay };

// Options only where the player's settings are at hand to be changed and kept; the way through
// when the hint offers it.
std::vector<PauseEntry> pauseEntries(PausedPlay play, bool optionsOffered, bool wayThroughOffered = false);
