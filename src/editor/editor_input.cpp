#include "editor/editor_input.h"

#include <allegro5/allegro.h>

#include "world/channel_states.h"

namespace {

struct KeyAction {
  int keyCode;
  EditorKey key;
  bool held;  // read while held down, not once as it goes down
};

// Down while its key is held and in the frame after the key was let go. Keys pressed between
// two frames all read as down in the next one, but a release there hides a key held until then:
// without this, Ctrl let go just after Z would read as a plain Z.
class HeldOrJustLetGo : public Switch {
 public:
  explicit HeldOrJustLetGo(Switch* inner) : Switch(false), inner_(inner) { inner_->attach(this); }
  ~HeldOrJustLetGo() override {
    if (inner_) inner_->detach(this);
  }
  bool isDown() const override { return now_ || before_; }
  void refresh() override {
    before_ = now_;
    now_ = inner_->isDown();
    refreshDependents();
  }

 protected:
  void sourceDestroyed() override { inner_ = nullptr; }

 private:
  Switch* inner_;
  bool now_ = false;
  bool before_ = false;
};

constexpr KeyAction kKeyActions[] = {
    {ALLEGRO_KEY_S, EditorKey::Save, false},       {ALLEGRO_KEY_L, EditorKey::Load, false},
    {ALLEGRO_KEY_P, EditorKey::TestPlay, false},   {ALLEGRO_KEY_Z, EditorKey::Previous, false},
    {ALLEGRO_KEY_X, EditorKey::Next, false},       {ALLEGRO_KEY_Y, EditorKey::Yes, false},
    {ALLEGRO_KEY_N, EditorKey::No, false},         {ALLEGRO_KEY_G, EditorKey::Grid, false},
    {ALLEGRO_KEY_F1, EditorKey::Help, false},      {ALLEGRO_KEY_H, EditorKey::Help, false},
    {ALLEGRO_KEY_ENTER, EditorKey::Enter, false},  {ALLEGRO_KEY_ESCAPE, EditorKey::Escape, false},
    {ALLEGRO_KEY_TAB, EditorKey::Palette, false},  {ALLEGRO_KEY_O, EditorKey::Open, false},
    {ALLEGRO_KEY_C, EditorKey::Campaign, false},   {ALLEGRO_KEY_LCTRL, EditorKey::Control, true},
    {ALLEGRO_KEY_RCTRL, EditorKey::Control, true}, {ALLEGRO_KEY_LSHIFT, EditorKey::Shift, true},
    {ALLEGRO_KEY_RSHIFT, EditorKey::Shift, true},
};

constexpr int kPrimaryButton = 1;
constexpr int kSecondaryButton = 2;

}  // namespace

EditorInput::EditorInput() {
  placePress_ = pressOf(own(std::make_unique<MouseKey>(kPrimaryButton)));
  placeHeld_ = own(std::make_unique<MouseKey>(kPrimaryButton));
  eraseHeld_ = own(std::make_unique<MouseKey>(kSecondaryButton));
  for (const KeyAction& action : kKeyActions) {
    Switch* key = own(std::make_unique<Key>(action.keyCode));
    bindings_.push_back({action.key, action.held ? own(std::make_unique<HeldOrJustLetGo>(key)) : pressOf(key)});
  }
  for (int first : {ALLEGRO_KEY_0, ALLEGRO_KEY_PAD_0}) {
    for (int digit = 0; digit < kChannelCount; ++digit) digits_.push_back(pressOfKey(first + digit));
  }
}

Switch* EditorInput::own(std::unique_ptr<Switch> created) {
  switches_.push_back(std::move(created));
  return switches_.back().get();
}

bool EditorInput::down(EditorKey key) const {
  for (const Binding& binding : bindings_) {
    if (binding.key == key && binding.reads->isDown()) return true;
  }
  return false;
}

int EditorInput::channelPressed() const {
  int channel = -1;
  for (size_t index = 0; index < digits_.size(); ++index) {
    if (digits_[index]->isDown()) channel = static_cast<int>(index) % kChannelCount;
  }
  return channel;
}
