#include "app/atlas.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "app/blend.h"
#include "app/safe_file.h"

namespace {

constexpr const char* kMediaFolder = "media";
constexpr int kAtlasWidth = 1024;  // px, wider than the widest image
constexpr int kGap = 1;            // px of transparency around each image
constexpr int kWhiteSize = 3;      // px; its centre texel is the one sampled
constexpr int kImageFlags = ALLEGRO_NO_PREMULTIPLIED_ALPHA;

struct BitmapDestroyer {
  void operator()(ALLEGRO_BITMAP* bitmap) const { al_destroy_bitmap(bitmap); }
};
using BitmapPointer = std::unique_ptr<ALLEGRO_BITMAP, BitmapDestroyer>;

struct Placement {
  int x = 0, y = 0, width = 0, height = 0;
};

struct Piece {
  std::string path;
  BitmapPointer image;  // a memory bitmap, only while the atlas is built
  Placement place;
};

class Atlas {
 public:
  Atlas();
  ALLEGRO_BITMAP* image(const std::string& path) const;
  ALLEGRO_BITMAP* whiteTexel() const { return whiteTexel_.get(); }

 private:
  std::vector<Piece> loadPieces() const;
  int pack(std::vector<Piece>& pieces) const;
  void copyPixels(const std::vector<Piece>& pieces) const;

  BitmapPointer texture_;
  BitmapPointer whiteTexel_;
  std::map<std::string, Placement> places_;
};

BitmapPointer loadMemoryBitmap(const std::string& path) {
  if (!isRegularFile(path)) return nullptr;
  int flags = al_get_new_bitmap_flags();
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP);
  BitmapPointer bitmap(al_load_bitmap_flags(path.c_str(), kImageFlags));
  al_set_new_bitmap_flags(flags);
  return bitmap;
}

// Rows of one fixed pixel format copied with memcpy: no conversion, no blending, no rounding.
void copyRows(ALLEGRO_LOCKED_REGION* target, int x, int y, ALLEGRO_BITMAP* source) {
  ALLEGRO_LOCKED_REGION* from = al_lock_bitmap(source, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_READONLY);
  if (!from) return;
  int width = al_get_bitmap_width(source);
  for (int row = 0; row < al_get_bitmap_height(source); ++row) {
    auto* destination = static_cast<char*>(target->data) + (y + row) * target->pitch + x * 4;
    std::memcpy(destination, static_cast<const char*>(from->data) + row * from->pitch, width * 4);
  }
  al_unlock_bitmap(source);
}

Atlas::Atlas() {
  std::vector<Piece> pieces = loadPieces();
  int height = pack(pieces);
  int flags = al_get_new_bitmap_flags();
  al_set_new_bitmap_flags(flags & ~ALLEGRO_MEMORY_BITMAP);
  texture_.reset(al_create_bitmap(kAtlasWidth, height));
  al_set_new_bitmap_flags(flags);
  if (!texture_) return;
  copyPixels(pieces);
  whiteTexel_.reset(al_create_sub_bitmap(texture_.get(), kGap + 1, kGap + 1, 1, 1));
  for (const Piece& piece : pieces) places_[piece.path] = piece.place;
}

std::vector<Piece> Atlas::loadPieces() const {
  std::vector<Piece> pieces;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(kMediaFolder, error)) {
    if (entry.path().extension() != ".png") continue;
    std::string path = std::string(kMediaFolder) + "/" + entry.path().filename().string();
    BitmapPointer image = loadMemoryBitmap(path);
    if (image) pieces.push_back(Piece{path, std::move(image), {}});
  }
  return pieces;
}

// Shelves left to right, tallest images first; the white block opens the first shelf.
// Returns the height the atlas needs.
int Atlas::pack(std::vector<Piece>& pieces) const {
  std::sort(pieces.begin(), pieces.end(), [](const Piece& a, const Piece& b) {
    return al_get_bitmap_height(a.image.get()) > al_get_bitmap_height(b.image.get());
  });
  int x = kGap + kWhiteSize + kGap;
  int y = kGap;
  int shelfHeight = kWhiteSize;
  for (Piece& piece : pieces) {
    int width = al_get_bitmap_width(piece.image.get());
    int height = al_get_bitmap_height(piece.image.get());
    if (x + width + kGap > kAtlasWidth) {
      x = kGap;
      y += shelfHeight + kGap;
      shelfHeight = 0;
    }
    piece.place = Placement{x, y, width, height};
    x += width + kGap;
    shelfHeight = std::max(shelfHeight, height);
  }
  return y + shelfHeight + kGap;
}

void Atlas::copyPixels(const std::vector<Piece>& pieces) const {
  ALLEGRO_BITMAP* texture = texture_.get();
  ALLEGRO_LOCKED_REGION* target = al_lock_bitmap(texture, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
  if (!target) return;
  for (int row = 0; row < al_get_bitmap_height(texture); ++row) {
    std::memset(static_cast<char*>(target->data) + row * target->pitch, 0, kAtlasWidth * 4);
  }
  for (int row = kGap; row < kGap + kWhiteSize; ++row) {
    std::memset(static_cast<char*>(target->data) + row * target->pitch + kGap * 4, 0xFF, kWhiteSize * 4);
  }
  for (const Piece& piece : pieces) copyRows(target, piece.place.x, piece.place.y, piece.image.get());
  al_unlock_bitmap(texture);
}

ALLEGRO_BITMAP* Atlas::image(const std::string& path) const {
  auto found = places_.find(path);
  if (found == places_.end() || !texture_) return nullptr;
  const Placement& place = found->second;
  return al_create_sub_bitmap(texture_.get(), place.x, place.y, place.width, place.height);
}

// Made once, with the first display; lives as long as the process, like the resources cut from it.
const Atlas* atlas() {
  static Atlas* built = nullptr;
  if (!built && batchedDrawing() && al_get_current_display()) built = new Atlas();
  return built;
}

}  // namespace

ALLEGRO_BITMAP* loadImage(const std::string& path) {
  if (const Atlas* packed = atlas()) {
    if (ALLEGRO_BITMAP* image = packed->image(path)) return image;
  }
  return isRegularFile(path) ? al_load_bitmap_flags(path.c_str(), kImageFlags) : nullptr;
}

ALLEGRO_BITMAP* atlasWhiteTexel() {
  const Atlas* packed = atlas();
  return packed ? packed->whiteTexel() : nullptr;
}
