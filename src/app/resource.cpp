#include "app/resource.h"

#include <cstdio>
#include <map>
#include <memory>

#include "app/atlas.h"
#include "app/safe_file.h"

namespace {

constexpr int kFontSize = 13;  // px

class ResourceBase {
 public:
  explicit ResourceBase(std::string path) : path_(std::move(path)) {}
  virtual ~ResourceBase() = default;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The library can make samples only once audio is installed (it crashes otherwise). Without audio
// (unit tests, the headless simulator) nothing could play them, so the path yields no sample.
// A sound that does not load is no failure: it warns and plays silence. Like every loader here
// it is handed regular files only: the library's own open would wait forever on a FIFO.
Result<> load(const std::string& path, ALLEGRO_SAMPLE*& sample) {
  if (!al_is_audio_installed()) return {};
  ALLEGRO_FILE* file = isRegularFile(path) ? al_fopen(path.c_str(), "rb") : nullptr;
  if (file) {
    sample = al_load_sample_f(file, ".wav");
    al_fclose(file);
    if (!sample) sample = al_load_sample(path.c_str());
  }
  if (sample) return {};
  std::printf("Unable to load sound (no SNDFILE support?): '%s'.\nFalling back to no sound.\n", path.c_str());
  std::fflush(stdout);
  static unsigned char silence = 128;
  sample = al_create_sample(&silence, 1, 44100, ALLEGRO_AUDIO_DEPTH_UINT8, ALLEGRO_CHANNEL_CONF_1, false);
  return {};
}

Problem missingResource(const std::string& path) {
  return fail(Failure::MissingResource, "Unable to find resource: '" + path + "'.", path);
}

// The drawing model blends with source alpha and tints by the blend colour, so images keep
// straight (not premultiplied) alpha.
Result<> load(const std::string& path, ALLEGRO_BITMAP*& bitmap) {
  bitmap = loadImage(path);
  return bitmap ? Result<>() : missingResource(path);
}

// Glyphs keep straight alpha too: premultiplied glyphs drawn with the source-alpha blender would
// count their coverage twice and come out thin and dark.
Result<> load(const std::string& path, ALLEGRO_FONT*& font) {
  font = isRegularFile(path) ? al_load_font(path.c_str(), kFontSize, ALLEGRO_NO_PREMULTIPLIED_ALPHA) : nullptr;
  return font ? Result<>() : missingResource(path);
}

Result<> load(const std::string& path, Sheet*& sheet) {
  Result<std::unique_ptr<Sheet>> loaded = Sheet::load(path);
  if (!loaded.ok()) return loaded.problem();
  sheet = loaded.value().release();
  return {};
}

void release(ALLEGRO_SAMPLE* sample) { al_destroy_sample(sample); }
void release(ALLEGRO_BITMAP* bitmap) { al_destroy_bitmap(bitmap); }
void release(ALLEGRO_FONT* font) { al_destroy_font(font); }
void release(Sheet* sheet) { delete sheet; }

template <typename T>
class Resource : public ResourceBase {
 public:
  Resource(const std::string& path, T* value_) : ResourceBase(path), value(value_) {}
  ~Resource() override { release(value); }
  T* value;
};

// Resources live until the process ends; the map is never torn down, so nothing is released
// after the library has shut down at exit.
std::map<std::string, ResourceBase*>& cache() {
  static auto* entries = new std::map<std::string, ResourceBase*>();
  return *entries;
}

// A failed load leaves no entry, so the cache holds only what loaded.
template <typename T>
void acquire(T*& destination, const std::string& path) {
  auto entry = cache().find(path);
  if (entry == cache().end()) {
    T* value = nullptr;
    Result<> loaded = load(path, value);
    if (!loaded.ok()) {
      destination = nullptr;
      reportLoadFailure(loaded.problem());
      return;
    }
    entry = cache().emplace(path, new Resource<T>(path, value)).first;
  }
  destination = static_cast<Resource<T>*>(entry->second)->value;
}

}  // namespace

void getResource(ALLEGRO_BITMAP*& destination, const std::string& path) { acquire(destination, path); }
void getResource(Sheet*& destination, const std::string& path) { acquire(destination, path); }
void getResource(ALLEGRO_FONT*& destination, const std::string& path) { acquire(destination, path); }
void getResource(ALLEGRO_SAMPLE*& destination, const std::string& path) { acquire(destination, path); }

ALLEGRO_BITMAP* bitmapResource(const std::string& path) {
  ALLEGRO_BITMAP* bitmap;
  getResource(bitmap, path);
  return bitmap;
}

Sheet* sheetResource(const std::string& path) {
  Sheet* sheet;
  getResource(sheet, path);
  return sheet;
}

ALLEGRO_FONT* fontResource(const std::string& path) {
  ALLEGRO_FONT* font;
  getResource(font, path);
  return font;
}

ALLEGRO_SAMPLE* sampleResource(const std::string& path) {
  ALLEGRO_SAMPLE* sample;
  getResource(sample, path);
  return sample;
}

int resourceCount() { return static_cast<int>(cache().size()); }
