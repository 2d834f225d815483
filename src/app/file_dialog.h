#pragma once

#include <optional>
#include <string>

// A question for the desktop's own file dialog.
struct FileQuestion {
  enum class Kind { Open, Save };
  Kind kind = Kind::Open;
  std::string title;
  std::string startIn;   // the folder (or the file) the dialog opens on
  std::string patterns;  // the files it lists, as "*.lv" or "*.zip;*.tar.gz;pack.txt"
};

// Asks the player for a file through the library's native file dialog, while the game's loop
// waits for the answer; gives the chosen path, or none when the player cancelled or no dialog
// could be shown. The caller's state then resumes as after a nested state. The tests drive the
// real dialog (a window of the desktop's toolkit) by typing a path into it.
std::optional<std::string> askForFile(const FileQuestion& question);
