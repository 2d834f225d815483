#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "app/sheet.h"
#include "world/entity.h"

class PopUp;

// The most characters a sign of a pack, or one the editor edits, holds: a panel of a few lines.
// A level file may hold longer texts, which load and wrap as any other.
constexpr size_t kLongestSignText = 90;

// A sign post with one line of text, shown in a pop-up panel across the top of the screen
// while the avatar stands at the sign. The panel joins the sign's world on the sign's first
// update; until then the sign owns it.
class Message : public Entity {
 public:
  explicit Message(const std::string& text);
  ~Message() override;

  int order(int tag) const override;
  void kill() override;
  Box box() const override;
  void update(double dt) override;
  void draw() override;

  void setText(const std::string& newText);

  std::string text;        // as written, placeholders and all
  PopUp* popUp = nullptr;  // the panel, the sign's own or its world's

 private:
  void dropPanel();
  void showText();

  Sheet* sheet;
  std::unique_ptr<PopUp> ownPanel;  // the panel until the first update hands it to the world
  World* panelWorld = nullptr;      // the world the panel was handed to, which then owns it
  std::string shown;                // the text in the panel
};
