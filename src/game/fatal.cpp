#include "game/fatal.h"

#include <allegro5/allegro_native_dialog.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/data_dirs.h"

namespace {

bool onDesktop = false;

const char* const kDialogTitle = "Binhopper";
const char* const kDialogHeading = "Binhopper cannot go on";
const char* const kNoDialogsVariable = "BINHOPPER_NO_DIALOGS";

// A box only where the line may go unseen: standard output is no terminal (a launcher's
// output goes nowhere a player looks), a desktop to show it on exists, and nobody asked for
// none (the tests do, so a failure they provoke never waits for a click).
bool boxWanted() {
  if (!onDesktop || std::getenv(kNoDialogsVariable) || isatty(STDOUT_FILENO)) return false;
  return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

void showBox(const std::string& text) {
  if (!boxWanted()) return;
  al_init_native_dialog_addon();
  al_show_native_message_box(nullptr, kDialogTitle, kDialogHeading, text.c_str(), nullptr, ALLEGRO_MESSAGEBOX_ERROR);
}

std::string dataSearched() { return describeDataSearch(lastDataSearch()); }

bool isMedia(const LoadResult& failure) {
  return failure.error == LoadError::MissingResource || failure.error == LoadError::MissingFrame;
}

}  // namespace

void showFailuresOnDesktop() { onDesktop = true; }

void fatal(const char* message) { fatal(message, ""); }

void fatal(const char* message, const std::string& advice) {
  std::string text = std::string("FATAL: ") + message + ".";
  std::printf("%s\n", text.c_str());
  if (!advice.empty()) std::printf("%s\n", advice.c_str());
  std::fflush(stdout);
  showBox(advice.empty() ? text : text + "\n" + advice);
  std::exit(1);
}

void endWithLoadFailure(const LoadResult& failure) {
  std::printf(failure.endsLine ? "%s\n" : "%s", failure.message.c_str());
  std::string box = failure.message;
  if (isMedia(failure)) {
    std::string searched = dataSearched();
    std::printf("%s%s\n", failure.endsLine ? "" : "\n", searched.c_str());
    box = plainLoadFailure(failure) + "\n" + searched + "\n\n" + failure.message;
  }
  std::fflush(stdout);
  showBox(box);
  std::exit(1);
}
