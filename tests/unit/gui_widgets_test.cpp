#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/blend.h"
#include "app/input_snapshot.h"
#include "app/switch.h"
#include "states/gui_button.h"
#include "unit/test_support.h"

namespace {

// The current state, whose mouse the test moves and presses one frame at a time.
struct MouseState : TestState {
  MouseState() {
    initAllegroForTests();
    Controls();
  }
  // One frame with the mouse at (x, y), its primary button down or up: switches, then the button.
  void frame(GuiButton& button, int x, int y, bool down) {
    setMousePosition(mouse, x, y);
    setMouseButton(mouse, 1, down);
    refreshRootSwitches();
    button.update(0.017);
  }
};

const Box kRect{100, 200, 180, 230};

// Inside takes in the left and top edges only; a click registers when the primary button goes
// down inside, not on release and not when it is carried in held down.
TEST(GuiButton, HighlightAndClickFollowTheMouse) {
  MouseState mouse;
  GuiButton button(kRect, "Play", true);
  const std::tuple<const char*, int, int, bool, int, bool> rows[] = {
      {"top-left corner", 100, 200, false, 2, false},
      {"last pixel inside", 179, 229, false, 2, false},
      {"right edge", 180, 210, false, 1, false},
      {"bottom edge", 150, 230, false, 1, false},
      {"left of it", 99, 210, false, 1, false},
      {"above it", 150, 199, false, 1, false},
      {"pressed inside", 150, 210, true, 2, true},
      {"held", 150, 210, true, 2, false},
      {"released", 150, 210, false, 2, false},
      {"pressed outside", 50, 210, true, 1, false},
      {"held while moved onto it", 150, 210, true, 2, false},
      {"released inside", 150, 210, false, 2, false},
      {"pressed on the right edge", 180, 210, true, 1, false},
  };
  for (const auto& [label, x, y, down, highlight, clicked] : rows) {
    button.clicked = false;
    mouse.frame(button, x, y, down);
    EXPECT_EQ(button.highlight, highlight) << label;
    EXPECT_EQ(button.clicked, clicked) << label;
  }
  mouse.frame(button, 150, 210, false);
  button.enabled = false;
  mouse.frame(button, 150, 210, true);
  EXPECT_EQ(button.highlight, 0) << "a hovered button that becomes disabled drops to highlight 0";
  EXPECT_FALSE(button.clicked);
}

// The panel colour (48, 48, 64) drawn over black at the highlight's alpha, read back from the
// middle of the button's lower half, clear of the label.
TEST(GuiButton, DrawnAtAlpha64WhenDisabled192Enabled255UnderTheMouse) {
  MouseState mouse;
  ALLEGRO_BITMAP* target = al_create_bitmap(200, 250);
  al_set_target_bitmap(target);
  GuiButton button(kRect, "", true);
  // Red and blue read back: 48 * alpha / 255 and 64 * alpha / 255.
  const std::tuple<int, int, int> rows[] = {{0, 12, 16}, {1, 36, 48}, {2, 48, 64}};
  for (const auto& [highlight, expectedRed, expectedBlue] : rows) {
    al_clear_to_color(al_map_rgb(0, 0, 0));
    button.setHighlight(highlight);
    button.draw();
    unsigned char red, green, blue;
    al_unmap_rgb(al_get_pixel(target, 140, 225), &red, &green, &blue);
    EXPECT_NEAR(red, expectedRed, 1) << "highlight " << highlight;
    EXPECT_NEAR(blue, expectedBlue, 1) << "highlight " << highlight;
    EXPECT_EQ(blendColour().a, 1.0f) << "the default blend colour is restored";
  }
  al_set_target_bitmap(nullptr);
  al_destroy_bitmap(target);
}

}  // namespace
