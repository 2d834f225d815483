#include "states/options_state.h"

#include "app/blend.h"
#include "app/game_window.h"
#include "app/key_bindings.h"
#include "app/switch.h"
#include "world/tag.h"

namespace {

constexpr double kPanelLeft = 100.0, kPanelTop = 20.0, kPanelRight = 700.0, kPanelBottom = 585.0;  // px
constexpr int kPanelAlpha = 170;
constexpr double kHeadingTop = 32.0;                         // px
constexpr double kFirstRowTop = 70.0;                        // px
constexpr double kRowPitch = 34.0;                           // px
constexpr double kRowHeight = 28.0;                          // px
constexpr double kTextDrop = 7.0;                            // px from a row's top to its text's top
constexpr double kLabelCentre = 250.0;                       // px
constexpr double kChoiceLeft = 400.0, kChoiceRight = 600.0;  // px
constexpr double kStepWidth = 40.0;                          // px of a volume's - and + buttons
constexpr double kWideLeft = 300.0, kWideRight = 500.0;      // px: the default keys and Back
constexpr double kBackTop = 545.0;                           // px
constexpr int kFirstKeyRow = 6;
constexpr int kDefaultKeysRow = kFirstKeyRow + kPlayKeyCount;
constexpr int kMessageRow = kDefaultKeysRow + 1;
const char* const kKeyLabels[kPlayKeyCount] = {"Left", "Right", "Up", "Down", "Jump", "Action"};

double rowTop(int row) { return kFirstRowTop + kRowPitch * row; }

bool takeClick(GuiButton* button) {
  bool clicked = button->clicked;
  button->clicked = false;
  return clicked;
}

const char* yesNo(bool choice) { return choice ? "Yes" : "No"; }

// One step of 10 % down or up, within 0 to 100 %.
void step(int& volume, bool lower, bool higher) {
  if (lower && volume > 0) volume -= kVolumeStep;
  if (higher && volume < kFullVolume) volume += kVolumeStep;
}

std::string refusal(const Rebinding& answer, const std::string& key) {
  if (answer.outcome == RebindOutcome::Fixed) return key + " is kept for " + answer.holder + ": choose another key.";
  return key + " is already the key for " + answer.holder + ": choose another key.";
}

}  // namespace

OptionsState::OptionsState(Settings& settings_, PlayState& scene, SceneMotion motion)
    : AppState(al_get_current_display()),
      settings(settings_),
      world(std::make_unique<World>()),
      scene_(scene),
      motion_(motion) {
  createWidgets();
  world->flush();
  showChoices();
}

void OptionsState::createWidgets() {
  world->add<GuiText>(400, kHeadingTop, "Options");
  musicVolume = addVolumeRow(0, "Music volume");
  effectsVolume = addVolumeRow(1, "Effects volume");
  windowButton = addChoiceRow(2, "Window");
  vsyncButton = addChoiceRow(3, "Vertical sync (from the next start)");
  timerButton = addChoiceRow(4, "On-screen timer");
  ghostButton = addChoiceRow(5, "Ghost of the best run");
  for (int i = 0; i < kPlayKeyCount; ++i) keyButtons.push_back(addChoiceRow(kFirstKeyRow + i, kKeyLabels[i]));
  double top = rowTop(kDefaultKeysRow);
  defaultKeysButton = &world->add<GuiButton>(Box{kWideLeft, top, kWideRight, top + kRowHeight}, "Default keys", true);
  message = &world->add<GuiText>(400, rowTop(kMessageRow) + kTextDrop, "");
  backButton = &world->add<GuiButton>(Box{kWideLeft, kBackTop, kWideRight, kBackTop + kRowHeight}, "Back", true);
}

GuiText* OptionsState::addRowLabel(int row, const char* label) {
  return &world->add<GuiText>(kLabelCentre, rowTop(row) + kTextDrop, label);
}

OptionsState::VolumeButtons OptionsState::addVolumeRow(int row, const char* label) {
  addRowLabel(row, label);
  double top = rowTop(row), bottom = top + kRowHeight;
  VolumeButtons buttons;
  buttons.lower = &world->add<GuiButton>(Box{kChoiceLeft, top, kChoiceLeft + kStepWidth, bottom}, "-", true);
  buttons.value = &world->add<GuiText>((kChoiceLeft + kChoiceRight) / 2, top + kTextDrop, "");
  buttons.higher = &world->add<GuiButton>(Box{kChoiceRight - kStepWidth, top, kChoiceRight, bottom}, "+", true);
  return buttons;
}

GuiButton* OptionsState::addChoiceRow(int row, const char* label) {
  addRowLabel(row, label);
  double top = rowTop(row);
  return &world->add<GuiButton>(Box{kChoiceLeft, top, kChoiceRight, top + kRowHeight}, "", true);
}

// The window's mode can also change by F11 while the screen is open.
void OptionsState::update(double dt) {
  if (motion_ == SceneMotion::Moving) scene_.update(dt);
  world->update(dt);
  if (GameWindow* window = GameWindow::current()) settings.fullScreen = window->fullScreen();
  bool awaiting = awaitedKey.has_value();
  int wentDown = keyWentDown();
  if (awaiting && wentDown != 0) takeAwaitedKey(wentDown);
  if (awaiting) {
    focus_.ignore(menuKeysHeld());
  } else if (GuiButton* pressed = focus_.update(focusOrder(), menuKeysHeld(), mouse.x, mouse.y)) {
    pressed->clicked = true;
  }
  readButtons();
  Switch** controls = Controls();
  bool leave = controls[kControlStart]->isDown() ||
               (!awaiting && (controls[kControlEscape]->isDown() || controls[kControlPadB]->isDown()));
  if (takeClick(backButton) || leave) status = RunStatus::Done;
  showChoices();
}

void OptionsState::readButtons() {
  step(settings.musicVolume, takeClick(musicVolume.lower), takeClick(musicVolume.higher));
  step(settings.effectsVolume, takeClick(effectsVolume.lower), takeClick(effectsVolume.higher));
  if (takeClick(windowButton)) {
    settings.fullScreen = !settings.fullScreen;
    if (GameWindow* window = GameWindow::current()) window->setFullScreen(settings.fullScreen);
  }
  if (takeClick(vsyncButton)) settings.vsync = !settings.vsync;
  if (takeClick(timerButton)) settings.timer = !settings.timer;
  if (takeClick(ghostButton)) settings.ghost = !settings.ghost;
  for (int i = 0; i < kPlayKeyCount; ++i) {
    if (!takeClick(keyButtons[i])) continue;
    awaitedKey = static_cast<PlayKey>(i);
    message->text = std::string("Press the new key for ") + playKeyName(*awaitedKey) + " (Escape keeps the old one).";
  }
  if (takeClick(defaultKeysButton)) {
    settings.keys = KeyBindings();
    awaitedKey.reset();
    message->text = "The default keys are back.";
  }
  useSettings(settings);
}

// Escape keeps the old key; a refused key leaves the screen waiting for another.
void OptionsState::takeAwaitedKey(int keyCode) {
  PlayKey key = *awaitedKey;
  std::string name = keyLabel(keyCode);
  if (keyCode == ALLEGRO_KEY_ESCAPE) {
    message->text = std::string("The key for ") + playKeyName(key) + " stays " + keyLabel(settings.keys[key]) + ".";
    awaitedKey.reset();
    return;
  }
  Rebinding answer = rebind(settings.keys, key, keyCode);
  if (answer.outcome == RebindOutcome::Fixed || answer.outcome == RebindOutcome::Taken) {
    message->text = refusal(answer, name);
    return;
  }
  message->text = std::string("The key for ") + playKeyName(key) + " is " + name + ".";
  awaitedKey.reset();
}

// The first key that went down since the last call, 0 when none did.
int OptionsState::keyWentDown() {
  int wentDown = 0;
  for (int keyCode = 1; keyCode < ALLEGRO_KEY_MAX; ++keyCode) {
    bool down = al_key_down(&keyboard, keyCode);
    if (down && !keysDown_[keyCode] && wentDown == 0) wentDown = keyCode;
    keysDown_[keyCode] = down;
  }
  return wentDown;
}

void OptionsState::showChoices() {
  musicVolume.value->text = std::to_string(settings.musicVolume) + "%";
  effectsVolume.value->text = std::to_string(settings.effectsVolume) + "%";
  windowButton->label = settings.fullScreen ? "Full screen" : "Window";
  vsyncButton->label = settings.vsync ? "On" : "Off";
  timerButton->label = yesNo(settings.timer);
  ghostButton->label = yesNo(settings.ghost);
  for (int i = 0; i < kPlayKeyCount; ++i) {
    bool awaited = awaitedKey && static_cast<int>(*awaitedKey) == i;
    keyButtons[i]->label = awaited ? "Press a key" : keyLabel(settings.keys.keys[i]);
  }
}

std::vector<GuiButton*> OptionsState::focusOrder() const {
  std::vector<GuiButton*> order = {musicVolume.lower, musicVolume.higher, effectsVolume.lower, effectsVolume.higher,
                                   windowButton,      vsyncButton,        timerButton,         ghostButton};
  order.insert(order.end(), keyButtons.begin(), keyButtons.end());
  order.push_back(defaultKeysButton);
  order.push_back(backButton);
  return order;
}

void OptionsState::draw(ALLEGRO_DISPLAY* screen) {
  scene_.draw(screen);
  setBlendColour(al_map_rgba(255, 255, 255, kPanelAlpha));
  drawFilledRectangle(kPanelLeft, kPanelTop, kPanelRight, kPanelBottom, al_map_rgb(0, 0, 0));
  resetBlender();
  world->draw();
  focus_.draw();
}
