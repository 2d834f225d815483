#pragma once

#include <string>
#include <vector>

#include "app/key_bindings.h"

// What the Help screen says: the controls as they are bound now, on the keyboard and on the pad,
// then the aim of a level, the crowns and how to start the editor.
struct HelpPage {
  struct Control {
    std::string what;
    std::string keys;
    std::string pad;
  };
  std::vector<Control> controls;
  std::vector<std::string> aim;
  std::vector<std::string> crowns;
  std::vector<std::string> editor;
};

HelpPage helpPage(const KeyBindings& keys);
