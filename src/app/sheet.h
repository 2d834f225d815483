#pragma once

#include <allegro5/allegro.h>

#include <string>
#include <vector>

// A bitmap cut into equal frames. The frame size is marked inside the image by one-pixel
// magenta (255, 0, 255) separator lines; frames sit on a pitch of size + 1 and are numbered
// down the first column, then down the next. An image with no magenta in its top row or left
// column is one frame of the whole image.
class Sheet {
 public:
  // Exits with "UNABLE TO LOAD BITMAP '<path>'!" when the image does not load.
  explicit Sheet(const std::string& path);
  ~Sheet();
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  ALLEGRO_BITMAP* frame(int index) const { return frames_.at(index); }
  int frameCount() const { return static_cast<int>(frames_.size()); }
  int frameWidth() const { return frameWidth_; }
  int frameHeight() const { return frameHeight_; }

 private:
  ALLEGRO_BITMAP* bitmap_;
  std::vector<ALLEGRO_BITMAP*> frames_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
};
