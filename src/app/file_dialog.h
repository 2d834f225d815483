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

// The variable that replaces the dialog in the tests: it names a file of answers.
constexpr const char* kFileAnswersVariable = "BINHOPPER_FILE_ANSWERS";

// Asks the player for a file through the library's native file dialog, while the game's loop
// waits for the answer; gives the chosen path, or none when the player cancelled or no dialog
// could be shown. The caller's state then resumes as after a nested state.
// With BINHOPPER_FILE_ANSWERS naming a file, no dialog opens: the question takes that file's
// first line as the answer (an empty line cancels) and removes it, and is noted as a line
// "TITLE | START" in the file of that name with ".asked" added. The end-to-end tests drive the
// file commands so, and one of them the real dialog.
std::optional<std::string> askForFile(const FileQuestion& question);
