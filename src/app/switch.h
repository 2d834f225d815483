#pragma once

#include <vector>

// A switch answers one question: is it down in this frame? Root switches read the current
// state's keyboard and mouse snapshots when refreshed; a non-root switch is refreshed by the
// switch it depends on, right after it. Values change only during a refresh, once per frame.
class Switch {
 public:
  explicit Switch(bool root);
  virtual ~Switch();
  Switch(const Switch&) = delete;
  Switch& operator=(const Switch&) = delete;

  virtual bool isDown() const = 0;
  virtual void refresh() = 0;

  void attach(Switch* dependent);
  void detach(Switch* dependent);

 protected:
  void refreshDependents();
  // Called on a dependent when the switch it depends on is destroyed before it.
  virtual void sourceDestroyed() {}

 private:
  bool root_;
  std::vector<Switch*> dependents_;
};

// A keyboard key held down (library key code).
class Key : public Switch {
 public:
  explicit Key(int keyCode);
  bool isDown() const override { return down_; }
  int keyCode() const { return keyCode_; }
  // The player's choice of key for a play control takes effect at the next refresh.
  void setKeyCode(int keyCode) { keyCode_ = keyCode; }
  void refresh() override;

 private:
  int keyCode_;
  bool down_ = false;
};

// A mouse button held down, numbered from 1 (1 is the primary button).
class MouseKey : public Switch {
 public:
  explicit MouseKey(int button);
  bool isDown() const override { return down_; }
  int button() const { return button_; }
  void refresh() override;

 private:
  int button_;
  bool down_ = false;
};

// True only in the frame in which its inner switch went from up to down. It does not own the
// inner switch. The two may be destroyed in either order: a dying OnPress detaches itself from
// its inner switch, and a dying inner switch tells its OnPress, which then keeps its last value.
class OnPress : public Switch {
 public:
  explicit OnPress(Switch* inner);
  ~OnPress() override;
  bool isDown() const override { return current_ && current_ != previous_; }
  void refresh() override;

 protected:
  void sourceDestroyed() override { inner_ = nullptr; }

 private:
  Switch* inner_;
  bool current_ = false;
  bool previous_ = false;
};

// A switch whose owner sets it, outside the root refresh: a replay's frame stands in for a key
// this way, and so does a test's hand.
class SetSwitch : public Switch {
 public:
  SetSwitch() : Switch(false) {}
  bool isDown() const override { return down; }
  void refresh() override {}
  bool down = false;
};

// Refreshes every root switch in creation order (the application state's pollInput).
void refreshRootSwitches();
// The root switches that exist now, in creation order.
const std::vector<Switch*>& rootSwitches();

// The game's fixed bindings, built on the first call and never destroyed.
enum ControlIndex {
  kControlUp = 0,
  kControlDown = 1,
  kControlLeft = 2,
  kControlRight = 3,
  kControlJump = 4,
  kControlAction = 5,
  kControlSpace = 6,
  kControlClick = 7,
  kControlEscape = 8,
  kControlRetry = 9,
  kControlStart = 10,  // the gamepad's Start
  kControlPadA = 11,   // the gamepad's buttons where a panel reads them
  kControlPadB = 12,
  kControlPadX = 13,
  kControlPadY = 14,
  kControlCount = 15
};
Switch** Controls();
// The key a keyboard control reads (the six play controls, Space, Escape, R).
Key& controlKey(ControlIndex index);
