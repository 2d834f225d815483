#include "states/pause.h"

#include "app/app_state.h"
#include "app/blend.h"
#include "app/game_window.h"
#include "app/geometry.h"
#include "app/resource.h"
#include "gui/gui_text.h"

namespace {

constexpr double kEntryWidth = 220.0;    // px
constexpr double kEntryHeight = 28.0;    // px
constexpr double kEntryPitch = 36.0;     // px
constexpr double kPanelMargin = 20.0;    // px around the entries
constexpr double kHeadingHeight = 30.0;  // px above the first entry
constexpr double kHeadingDrop = 12.0;    // px from the panel's top to the heading's
constexpr int kPanelAlpha = 200;

int focusLosses() {
  GameWindow* window = GameWindow::current();
  return window ? window->focusLosses() : 0;
}

bool takeClick(GuiButton* button) {
  bool clicked = button->clicked;
  button->clicked = false;
  return clicked;
}

}  // namespace

// The P already held when the level starts (the P that started the editor's test play) is read
// now, so that it is no press in its first frame.
Pause::Pause() : focusLossesSeen_(focusLosses()) { pKey_.refresh(); }

bool Pause::asked() {
  bool focusLost = focusWasLost();
  return pPressed_.isDown() || Controls()[kControlStart]->isDown() || focusLost;
}

bool Pause::focusWasLost() {
  int losses = focusLosses();
  bool lost = losses != focusLossesSeen_;
  focusLossesSeen_ = losses;
  return lost;
}

// The menu sits in the middle of the screen with room below its entries; its height follows
// their number.
void Pause::open(const std::vector<PauseEntry>& entries) {
  panel_ = std::make_unique<Panel>();
  double height = kHeadingHeight + kEntryPitch * entries.size() + 2 * kPanelMargin;
  double top = (kScreenHeight - height) / 2;
  double left = (kScreenWidth - kEntryWidth) / 2;
  panel_->box = Box{left - kPanelMargin, top, left + kEntryWidth + kPanelMargin, top + height};
  panel_->world.add<GuiText>(kScreenWidth / 2, top + kHeadingDrop, "Paused");
  double entryTop = top + kPanelMargin + kHeadingHeight;
  for (const PauseEntry& entry : entries) {
    GuiButton& button = panel_->world.add<GuiButton>(Box{left, entryTop, left + kEntryWidth, entryTop + kEntryHeight},
                                                     entry.label, true);
    panel_->entries.emplace_back(&button, entry.choice);
    entryTop += kEntryPitch;
  }
  panel_->world.flush();
  focus_ = MenuFocus();
}

bool Pause::resumeAsked() const {
  Switch** controls = Controls();
  return pPressed_.isDown() || controls[kControlEscape]->isDown() || controls[kControlStart]->isDown() ||
         controls[kControlPadB]->isDown();
}

std::optional<PauseChoice> Pause::update(double dt) {
  if (!panel_) return std::nullopt;
  panel_->world.update(dt);
  const ALLEGRO_MOUSE_STATE* mouse = currentState()->mouseState();
  if (GuiButton* pressed = focus_.update(buttons(), menuKeysHeld(), mouse->x, mouse->y)) pressed->clicked = true;
  std::optional<PauseChoice> chosen;
  for (const auto& [button, choice] : panel_->entries) {
    if (takeClick(button) && !chosen) chosen = choice;
  }
  if (!chosen && resumeAsked()) chosen = PauseChoice::Resume;
  if (chosen == PauseChoice::Resume || chosen == PauseChoice::Retry || chosen == PauseChoice::Leave) panel_.reset();
  return chosen;
}

std::vector<GuiButton*> Pause::buttons() const {
  std::vector<GuiButton*> order;
  if (panel_) {
    for (const auto& entry : panel_->entries) order.push_back(entry.first);
  }
  return order;
}

void Pause::draw() const {
  if (!panel_ || covered_) return;
  const Box& box = panel_->box;
  setBlendColour(al_map_rgba(255, 255, 255, kPanelAlpha));
  drawFilledRectangle(box.left, box.top, box.right, box.bottom, al_map_rgb(0, 0, 0));
  resetBlender();
  panel_->world.draw();
  focus_.draw();
}
