#include "app/sheet.h"

#include "app/atlas.h"

namespace {
bool isMagenta(ALLEGRO_COLOR colour) {
  unsigned char r, g, b;
  al_unmap_rgb(colour, &r, &g, &b);
  return r == 255 && g == 0 && b == 255;
}
}  // namespace

// Straight alpha, as for every image of the game; it also keeps a transparent magenta separator
// magenta when read back.
Result<std::unique_ptr<Sheet>> Sheet::load(const std::string& path) {
  ALLEGRO_BITMAP* bitmap = loadImage(path);
  if (!bitmap) return fail(Failure::MissingSheet, "UNABLE TO LOAD BITMAP '" + path + "'!", path);
  auto sheet = std::make_unique<Sheet>(bitmap);
  sheet->path_ = path;
  return sheet;
}

ALLEGRO_BITMAP* Sheet::frame(int index) const {
  if (index >= 0 && index < frameCount()) return frames_[index];
  reportLoadFailure(
      fail(Failure::MissingFrame, "SHEET '" + path_ + "' HAS NO FRAME " + std::to_string(index) + "!!!", path_));
  return frames_.empty() ? bitmap_ : frames_[0];
}

Sheet::Sheet(ALLEGRO_BITMAP* bitmap) : bitmap_(bitmap) {
  int width = al_get_bitmap_width(bitmap_);
  int height = al_get_bitmap_height(bitmap_);
  al_lock_bitmap(bitmap_, ALLEGRO_PIXEL_FORMAT_ANY, ALLEGRO_LOCK_READONLY);
  frameWidth_ = width;
  for (int x = 0; x < width; ++x) {
    if (isMagenta(al_get_pixel(bitmap_, x, 0))) {
      frameWidth_ = x;
      break;
    }
  }
  frameHeight_ = height;
  for (int y = 0; y < height; ++y) {
    if (isMagenta(al_get_pixel(bitmap_, 0, y))) {
      frameHeight_ = y;
      break;
    }
  }
  al_unlock_bitmap(bitmap_);

  int columns = (width + 1) / (frameWidth_ + 1);
  int rows = (height + 1) / (frameHeight_ + 1);
  for (int c = 0; c < columns; ++c) {
    for (int r = 0; r < rows; ++r) {
      frames_.push_back(
          al_create_sub_bitmap(bitmap_, c * (frameWidth_ + 1), r * (frameHeight_ + 1), frameWidth_, frameHeight_));
    }
  }
}

Sheet::~Sheet() {
  for (ALLEGRO_BITMAP* frame : frames_) al_destroy_bitmap(frame);
  al_destroy_bitmap(bitmap_);
}
