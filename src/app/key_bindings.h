#pragma once

#include <array>
#include <string>

// The six keys the avatar plays by, which the player may choose. Every other key keeps its one
// meaning: Escape, R, P, Space and F11 in a level, and the editor's keys.
enum class PlayKey { Left, Right, Up, Down, Jump, Action };
constexpr int kPlayKeyCount = 6;

struct KeyBindings {
  KeyBindings();
  int& operator[](PlayKey key) { return keys[static_cast<int>(key)]; }
  int operator[](PlayKey key) const { return keys[static_cast<int>(key)]; }
  bool operator==(const KeyBindings& other) const { return keys == other.keys; }

  std::array<int, kPlayKeyCount> keys;  // library key codes, in PlayKey order
};

// What became of a request to play by another key.
enum class RebindOutcome {
  Bound,      // the key now plays it
  Unchanged,  // it was that key already
  Fixed,      // the key keeps a fixed meaning (Escape, R, P, Space, F11)
  Taken,      // another play key has it
  NotAKey
};
struct Rebinding {
  RebindOutcome outcome;
  std::string holder;  // what has the key when it is refused: "jump", "retry", ...
};
Rebinding rebind(KeyBindings& bindings, PlayKey key, int keyCode);

// Whether every play key has a key of its own that no fixed meaning claims.
bool usable(const KeyBindings& bindings);

// "left", "right", "up", "down", "jump", "action": also the settings file's key_<name>.
const char* playKeyName(PlayKey key);

// The game's controls (the avatar's switches and the gamepad) follow these keys from now on.
void useKeyBindings(const KeyBindings& bindings);
const KeyBindings& keyBindingsInUse();

// A key's name as the library gives it (al_keycode_to_name) once the keyboard is installed,
// "KEY<code>" before that.
std::string keyName(int keyCode);
// A key as the player sees it named: a letter key as the letter on the keycap ("Z").
std::string keyLabel(int keyCode);
// The key a name stands for, 0 when none: a library name in any letter case (so a file written
// by hand still reads) or "KEY<code>".
int keyCodeOfName(const std::string& name);
