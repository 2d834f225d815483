#pragma once

#include <allegro5/allegro.h>

#include <memory>
#include <string>
#include <vector>

#include "app/load_failure.h"

// A bitmap cut into equal frames. The frame size is marked inside the image by one-pixel
// magenta (255, 0, 255) separator lines; frames sit on a pitch of size + 1 and are numbered
// down the first column, then down the next. An image with no magenta in its top row or left
// column is one frame of the whole image.
class Sheet {
 public:
  // Loads the image and cuts it; when the image does not load, the problem says "UNABLE TO
  // LOAD BITMAP '<path>'!".
  static Result<std::unique_ptr<Sheet>> load(const std::string& path);
  // Takes the bitmap and cuts it into frames.
  explicit Sheet(ALLEGRO_BITMAP* bitmap);
  ~Sheet();
  Sheet(const Sheet&) = delete;
  Sheet& operator=(const Sheet&) = delete;

  // A frame the sheet does not have (a replaced image cut into fewer frames than the game
  // draws from it) goes to the program's load-failure handler, which ends the game with one
  // line; without a handler the first frame stands in.
  ALLEGRO_BITMAP* frame(int index) const;
  int frameCount() const { return static_cast<int>(frames_.size()); }
  int frameWidth() const { return frameWidth_; }
  int frameHeight() const { return frameHeight_; }

 private:
  ALLEGRO_BITMAP* bitmap_;
  std::string path_;  // for the message about a missing frame
  std::vector<ALLEGRO_BITMAP*> frames_;
  int frameWidth_ = 0;
  int frameHeight_ = 0;
};
