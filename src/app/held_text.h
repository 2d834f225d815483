#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_font.h>

#include <string>
#include <vector>

// Text waiting to be drawn. Glyphs live in the font's own textures, so text drawn between
// sprites would split a run of the atlas in two. Drawings that do not overlap may swap places
// without changing a pixel, so text waits until something is to be drawn over it (or the blend
// factors, the transform or the target change) and is then drawn in one run, in its own order.
class HeldText {
 public:
  struct Line {
    ALLEGRO_FONT* font;
    ALLEGRO_COLOR colour;
    float x, y;
    int flags;
    std::string text;
  };

  void hold(const Line& line);
  bool overlaps(float x1, float y1, float x2, float y2) const;
  bool empty() const { return lines_.empty(); }
  std::vector<Line> take();

 private:
  struct Box {
    float left, top, right, bottom;
  };
  std::vector<Line> lines_;
  std::vector<Box> boxes_;
};
