#pragma once

#include <string>

#include "entities/pop_up.h"

// The question the editor asks before it throws work away, replaces a file it could not read
// or overwrites a file that changed on disk. While it is open the editor takes no other input.
class ConfirmPrompt {
 public:
  enum class Purpose { None, Close, Leave, Load, ReplaceBroken, RestoreAutosave, Overwrite };

  void open(Purpose purpose, const std::string& question, const std::string& answers);
  void close() { purpose_ = Purpose::None; }
  bool isOpen() const { return purpose_ != Purpose::None; }
  Purpose purpose() const { return purpose_; }
  void draw() { panel.draw(); }

 private:
  Purpose purpose_ = Purpose::None;
  PopUp panel;
};
