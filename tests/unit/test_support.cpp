#include "unit/test_support.h"

#include <allegro5/allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/blend.h"
#include "app/library.h"
void initAllegroForTests() {
  Result<> started = startLibrary();
  ASSERT_TRUE(started.ok()) << started.problem().message;
  al_set_new_bitmap_flags(ALLEGRO_NO_PREMULTIPLIED_ALPHA);
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "binhopper-test-XXXXXX").string();
  path_ = mkdtemp(&pattern[0]) ? pattern : "";
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(const std::string& name) const { return path_ + "/" + name; }

std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string messageOf(const Result<>& done) { return done.ok() ? "" : located(done.problem()); }

void writeFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

NewBitmapFlags::NewBitmapFlags(int flags) : previous_(al_get_new_bitmap_flags()) { al_set_new_bitmap_flags(flags); }

NewBitmapFlags::~NewBitmapFlags() { al_set_new_bitmap_flags(previous_); }

Canvas::Canvas(int width, int height, ALLEGRO_COLOR background) : previous_(al_get_target_bitmap()) {
  NewBitmapFlags memory(ALLEGRO_MEMORY_BITMAP);
  bitmap_ = al_create_bitmap(width, height);
  al_set_target_bitmap(bitmap_);
  al_clear_to_color(background);
  resetBlender();
}

Canvas::~Canvas() {
  al_set_target_bitmap(previous_);
  al_destroy_bitmap(bitmap_);
}

Rgb Canvas::at(int x, int y) const {
  unsigned char r, g, b;
  al_unmap_rgb(al_get_pixel(bitmap_, x, y), &r, &g, &b);
  return {r, g, b};
}

std::string Canvas::bytes() const {
  ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(bitmap_, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
  std::string result;
  for (int row = 0; row < al_get_bitmap_height(bitmap_); ++row)
    result.append(static_cast<const char*>(region->data) + row * region->pitch, al_get_bitmap_width(bitmap_) * 4);
  al_unlock_bitmap(bitmap_);
  return result;
}

Deadline::Deadline(unsigned seconds) { alarm(seconds); }

Deadline::~Deadline() { alarm(0); }

void sendStdoutToStderr() {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
}
