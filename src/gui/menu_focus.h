#pragma once

#include <vector>

#include "gui/gui_button.h"

// What the player holds in one frame to steer a menu without the mouse.
struct MenuKeys {
  bool left = false, right = false, up = false, down = false;
  bool press = false;  // Enter, Z or the gamepad's first face button
};

// The arrow keys and the gamepad's stick or d-pad as the current state's snapshot and the pad
// hold them now.
MenuKeys menuKeysHeld();

// A focus mark that the keyboard and the gamepad move over a menu's buttons. It shows only once
// a key is used: the first press shows it where it is (at first on the first button of the
// order) without moving it or pressing anything; a mouse move hides it again. An arrow moves it
// to the nearest enabled button (or disabled one that takes the focus to say why) on that side
// of the screen, those within 45 degrees of the arrow first, nearness counting the distance
// across the arrow twice; ties go to the earlier button of the order.
class MenuFocus {
 public:
  // Called once a frame after the buttons' own update, with the menu's buttons in focus order
  // and where the mouse is. Gives the button pressed in this frame, or null; the focused button
  // looks as though the mouse were over it.
  GuiButton* update(const std::vector<GuiButton*>& order, const MenuKeys& held, int mouseX, int mouseY);
  // Notes what is held without acting on it, while the keys mean something else (a key being
  // chosen), so that a key still held afterwards does not count as pressed.
  void ignore(const MenuKeys& held) { previous_ = held; }
  // The mark around the focused button, drawn over the menu.
  void draw() const;
  // Null while no mark shows.
  GuiButton* focused() const { return shown_ ? at_ : nullptr; }
  // The menu made its buttons afresh: the mark goes to the new one that stands for the button
  // it was on.
  void moveTo(GuiButton* button) { at_ = button; }

 private:
  GuiButton* nearest(const std::vector<GuiButton*>& order, int dx, int dy) const;

  GuiButton* at_ = nullptr;
  bool shown_ = false;
  MenuKeys previous_;
  int mouseX_ = -1, mouseY_ = -1;
};
