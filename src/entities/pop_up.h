#pragma once

#include <allegro5/allegro_font.h>

#include <string>
#include <utility>
#include <vector>

#include "world/box.h"
#include "world/entity.h"

// A translucent panel across the top of the screen with two-column lines. A right text of
// exactly " " marks a highlighted line, drawn in yellow without a right column. A line too
// long for the panel is wrapped over as many lines as it needs.
class PopUp : public Entity {
 public:
  static constexpr float kTextWidth = 776.0f;  // px from the left column to the right one's end

  PopUp();

  void draw() override;
  void addLine(const std::string& left, const std::string& right);
  // Where the panel is drawn while visible.
  Box panel() const;

  bool visible = false;
  std::vector<std::pair<std::string, std::string>> lines;

 private:
  ALLEGRO_FONT* font;
};
