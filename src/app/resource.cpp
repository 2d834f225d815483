#include "app/resource.h"

#include <cstdio>
#include <cstdlib>
#include <map>

#include "app/atlas.h"

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

[[noreturn]] void missingResource(const std::string& path) {
  std::printf("Unable to find resource: '%s'.\n", path.c_str());
  std::fflush(stdout);
  std::exit(1);
}

// The library can make samples only once audio is installed (it crashes otherwise). Without audio
// (unit tests, the headless simulator) nothing could play them, so the path yields no sample.
ALLEGRO_SAMPLE* loadSample(const std::string& path) {
  if (!al_is_audio_installed()) return nullptr;
  ALLEGRO_SAMPLE* sample = nullptr;
  ALLEGRO_FILE* file = al_fopen(path.c_str(), "rb");
  if (file) {
    sample = al_load_sample_f(file, ".wav");
    al_fclose(file);
  }
  if (!sample) sample = al_load_sample(path.c_str());
  if (sample) return sample;
  std::printf("Unable to load sound (no SNDFILE support?): '%s'.\nFalling back to no sound.\n", path.c_str());
  std::fflush(stdout);
  static unsigned char silence = 128;
  return al_create_sample(&silence, 1, 44100, ALLEGRO_AUDIO_DEPTH_UINT8, ALLEGRO_CHANNEL_CONF_1, false);
}

// The drawing model blends with source alpha and tints by the blend colour, so images keep
// straight (not premultiplied) alpha.
ALLEGRO_BITMAP* loadBitmap(const std::string& path) {
  ALLEGRO_BITMAP* bitmap = loadImage(path);
  if (!bitmap) missingResource(path);
  return bitmap;
}

// Glyphs keep straight alpha too: premultiplied glyphs drawn with the source-alpha blender would
// count their coverage twice and come out thin and dark.
ALLEGRO_FONT* loadFont(const std::string& path) {
  ALLEGRO_FONT* font = al_load_font(path.c_str(), kFontSize, ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  if (!font) missingResource(path);
  return font;
}

template <typename T>
class Resource : public ResourceBase {
 public:
  explicit Resource(const std::string& path);
  ~Resource() override;
  T* value;
};

template <>
Resource<ALLEGRO_SAMPLE>::Resource(const std::string& path) : ResourceBase(path), value(loadSample(path)) {}
template <>
Resource<ALLEGRO_SAMPLE>::~Resource() {
  al_destroy_sample(value);
}

template <>
Resource<ALLEGRO_BITMAP>::Resource(const std::string& path) : ResourceBase(path), value(loadBitmap(path)) {}
template <>
Resource<ALLEGRO_BITMAP>::~Resource() {
  al_destroy_bitmap(value);
}

template <>
Resource<ALLEGRO_FONT>::Resource(const std::string& path) : ResourceBase(path), value(loadFont(path)) {}
template <>
Resource<ALLEGRO_FONT>::~Resource() {
  al_destroy_font(value);
}

template <>
Resource<Sheet>::Resource(const std::string& path) : ResourceBase(path), value(new Sheet(path)) {}
template <>
Resource<Sheet>::~Resource() {
  delete value;
}

// Resources live until the process ends; the map is never torn down, so nothing is released
// after the library has shut down at exit.
std::map<std::string, ResourceBase*>& cache() {
  static auto* entries = new std::map<std::string, ResourceBase*>();
  return *entries;
}

template <typename T>
void acquire(T*& destination, const std::string& path) {
  ResourceBase*& entry = cache()[path];
  if (!entry) entry = new Resource<T>(path);
  destination = static_cast<Resource<T>*>(entry)->value;
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
