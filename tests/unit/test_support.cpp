#include "unit/test_support.h"

#include <allegro5/allegro.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/library.h"
#include "world/world.h"
void initAllegroForTests() {
  ASSERT_EQ(startLibrary(), "");
  al_set_new_bitmap_flags(ALLEGRO_NO_PREMULTIPLIED_ALPHA);
}

void updateWorld(World& world, double dt) {
  std::vector<Entity*>& dynamic = world.byTag(tagOf("dyna"));
  for (size_t i = 0; i < dynamic.size(); ++i) dynamic[i]->update(dt);
  world.flush();
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

void writeFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

NewBitmapFlags::NewBitmapFlags(int flags) : previous_(al_get_new_bitmap_flags()) { al_set_new_bitmap_flags(flags); }

NewBitmapFlags::~NewBitmapFlags() { al_set_new_bitmap_flags(previous_); }

void sendStdoutToStderr() {
  std::fflush(stdout);
  dup2(STDERR_FILENO, STDOUT_FILENO);
}
