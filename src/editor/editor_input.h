#pragma once

#include <memory>
#include <vector>

#include "app/switch.h"

// What the editor's keys do; several keys may do one thing (F1 and H both show the help).
enum class EditorKey {
  Save,
  Load,
  TestPlay,
  Previous,
  Next,
  Yes,
  No,
  Grid,
  Help,
  Enter,
  Escape,
  Palette,
  Open,
  Campaign,
  Control,
  Shift
};

// The editor's own switches, made from one table of key and what it does, with the switch
// channel on the number keys and the mouse's place and erase buttons. They take part in every
// frame's refresh while the editor lives.
class EditorInput {
 public:
  EditorInput();
  EditorInput(const EditorInput&) = delete;
  EditorInput& operator=(const EditorInput&) = delete;

  // A key of it went down in this frame; Control and Shift read whether one is held (or was let
  // go since the previous frame: a Ctrl let go a moment after its Z still makes an undo).
  bool down(EditorKey key) const;
  // The channel of the number key that went down in this frame (the keypad's after the main
  // keys'), or -1.
  int channelPressed() const;
  bool placePressed() const { return placePress_->isDown(); }
  bool placeHeld() const { return placeHeld_->isDown(); }
  bool eraseHeld() const { return eraseHeld_->isDown(); }

 private:
  struct Binding {
    EditorKey key;
    const Switch* reads;
  };

  Switch* own(std::unique_ptr<Switch> created);
  Switch* pressOf(Switch* inner) { return own(std::make_unique<OnPress>(inner)); }
  Switch* pressOfKey(int keyCode) { return pressOf(own(std::make_unique<Key>(keyCode))); }

  std::vector<std::unique_ptr<Switch>> switches_;
  std::vector<Binding> bindings_;
  std::vector<const Switch*> digits_;  // 0 to 9 on the main keys, then on the keypad
  const Switch* placePress_;
  const Switch* placeHeld_;
  const Switch* eraseHeld_;
};
