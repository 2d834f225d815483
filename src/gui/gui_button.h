#pragma once

#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

#include <string>

#include "world/entity.h"

// How a button shows: greyed out, ready, or under the mouse (or the focus mark).
enum class Highlight { Disabled, Enabled, Hovered };

// A clickable rectangle with a label. A click is the primary button going down over it;
// the owner reads and clears `clicked`.
class GuiButton : public Entity {
 public:
  GuiButton(const Box& rect, const std::string& label, bool enabled);

  void update(double dt) override;
  void draw() override;
  void setHighlight(Highlight value) { highlight = value; }
  // Whether the menu's focus may rest on it while it is disabled, to say why it is.
  virtual bool focusableWhenDisabled() const { return false; }
  // Where the label is drawn, centred: x of its middle, y of its top.
  double labelX() const { return (rect.left + rect.right) * 0.5; }
  double labelY() const { return (rect.top + rect.bottom) * 0.5 - kLabelRaise; }
  static constexpr double kLabelRaise = 7.0;  // px above the middle: half the text's height
  // White, or grey while disabled.
  ALLEGRO_COLOR labelColour() const;

  Box rect;
  bool enabled;
  std::string label;
  bool clicked = false;
  Highlight highlight = Highlight::Disabled;
  bool focused = false;  // the menu's focus mark is on it

 protected:
  ALLEGRO_FONT* font;
  ALLEGRO_SAMPLE* clickSound;
};
