#include "app/file_dialog.h"

#include <allegro5/allegro.h>
#include <allegro5/allegro_native_dialog.h>

#include <memory>

namespace {

struct DialogDestroyer {
  void operator()(ALLEGRO_FILECHOOSER* dialog) const { al_destroy_native_file_dialog(dialog); }
};

}  // namespace

std::optional<std::string> askForFile(const FileQuestion& question) {
  if (!al_init_native_dialog_addon()) return std::nullopt;
  int mode = question.kind == FileQuestion::Kind::Save ? ALLEGRO_FILECHOOSER_SAVE : ALLEGRO_FILECHOOSER_FILE_MUST_EXIST;
  std::unique_ptr<ALLEGRO_FILECHOOSER, DialogDestroyer> dialog(
      al_create_native_file_dialog(question.startIn.c_str(), question.title.c_str(), question.patterns.c_str(), mode));
  if (!dialog || !al_show_native_file_dialog(al_get_current_display(), dialog.get())) return std::nullopt;
  if (al_get_native_file_dialog_count(dialog.get()) < 1) return std::nullopt;
  return std::string(al_get_native_file_dialog_path(dialog.get(), 0));
}
