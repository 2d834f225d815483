#include "png_out.h"

#include <allegro5/allegro.h>

#include <cstring>

#include "palette.h"

Canvas assembleSheet(const std::vector<Canvas>& frames, int rows) {
  int frameWidth = frames.front().width();
  int frameHeight = frames.front().height();
  int columns = (static_cast<int>(frames.size()) + rows - 1) / rows;
  Canvas sheet(columns * (frameWidth + 1), rows * (frameHeight + 1));
  for (int c = 0; c < columns; ++c)
    sheet.fillRect(c * (frameWidth + 1) + frameWidth, 0, 1, sheet.height(), palette::kMagenta);
  for (int r = 0; r < rows; ++r)
    sheet.fillRect(0, r * (frameHeight + 1) + frameHeight, sheet.width(), 1, palette::kMagenta);
  for (size_t i = 0; i < frames.size(); ++i) {
    int c = static_cast<int>(i) / rows, r = static_cast<int>(i) % rows;
    sheet.draw(frames[i], c * (frameWidth + 1), r * (frameHeight + 1));
  }
  return sheet;
}

bool savePng(const Canvas& canvas, const std::string& path) {
  al_set_new_bitmap_flags(ALLEGRO_MEMORY_BITMAP | ALLEGRO_NO_PREMULTIPLIED_ALPHA);
  al_set_new_bitmap_format(ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE);
  ALLEGRO_BITMAP* bitmap = al_create_bitmap(canvas.width(), canvas.height());
  if (!bitmap) return false;
  ALLEGRO_LOCKED_REGION* region = al_lock_bitmap(bitmap, ALLEGRO_PIXEL_FORMAT_ABGR_8888_LE, ALLEGRO_LOCK_WRITEONLY);
  for (int y = 0; y < canvas.height(); ++y) {
    auto* row = static_cast<unsigned char*>(region->data) + y * region->pitch;
    for (int x = 0; x < canvas.width(); ++x) {
      Rgba pixel = canvas.at(x, y);
      unsigned char bytes[4] = {pixel.r, pixel.g, pixel.b, pixel.a};
      std::memcpy(row + 4 * x, bytes, 4);
    }
  }
  al_unlock_bitmap(bitmap);
  bool saved = al_save_bitmap(path.c_str(), bitmap);
  al_destroy_bitmap(bitmap);
  return saved;
}
