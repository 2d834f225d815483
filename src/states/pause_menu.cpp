#include "states/pause_menu.h"

std::vector<PauseEntry> pauseEntries(PausedPlay play, bool optionsOffered, bool wayThroughOffered) {
  std::vector<PauseEntry> entries{{PauseChoice::Resume, "Resume"},
                                  {PauseChoice::Retry, play == PausedPlay::Replay ? "Watch again" : "Retry"}};
  if (wayThroughOffered) entries.push_back({PauseChoice::WayThrough, "Watch a way through"});
  if (optionsOffered) entries.push_back({PauseChoice::Options, "Options"});
  entries.push_back({PauseChoice::Help, "Help"});
  const char* leave = play == PausedPlay::TestPlay ? "Back to the editor"
                      : play == PausedPlay::Replay ? "Back"
                                                   : "Back to menu";
  entries.push_back({PauseChoice::Leave, leave});
  return entries;
}
