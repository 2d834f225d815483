#include "states/options_state.h"

#include "app/blend.h"
#include "app/game_window.h"
#include "app/key_bindings.h"
#include "app/switch.h"
#include "world/tag.h"

namespace {

// Two columns on one panel: the game's choices with the assists under them on the left, the
// play keys on the right; the message and Back across the bottom.
constexpr double kPanelLeft = 25.0, kPanelTop = 12.0, kPanelRight = 775.0, kPanelBottom = 588.0;  // px
// Dark enough that the live scene behind stays a faint hint under every row.
constexpr int kPanelAlpha = 215;
constexpr double kHeadingTop = 24.0;   // px
constexpr double kFirstRowTop = 60.0;  // px
constexpr double kRowPitch = 36.0;     // px
constexpr double kRowHeight = 28.0;    // px
constexpr double kTextDrop = 7.0;      // px from a row's top to its text's top
constexpr OptionsState::Column kChoices = {170.0, 305.0, 425.0};
constexpr OptionsState::Column kKeys = {535.0, 590.0, 740.0};
constexpr double kStepWidth = 30.0;                                    // px of a percentage's - and + buttons
constexpr double kDefaultKeysLeft = 590.0, kDefaultKeysRight = 740.0;  // px
constexpr double kWideLeft = 300.0, kWideRight = 500.0;                // px: Back
constexpr double kBackTop = 545.0;                                     // px
constexpr double kMessageTop = 500.0;                                  // px
constexpr int kAssistsRow = 7;
constexpr int kDefaultKeysRow = kPlayKeyCount;
const char* const kKeyLabels[kPlayKeyCount] = {"Left", "Right", "Up", "Down", "Jump", "Action"};
const char* const kAssistedNote = "With an assist on, a run earns no silver crown and sets no best time.";

double rowTop(int row) { return kFirstRowTop + kRowPitch * row; }

bool takeClick(GuiButton* button) {
  bool clicked = button->clicked;
  button->clicked = false;
  return clicked;
}

const char* yesNo(bool choice) { return choice ? "Yes" : "No"; }

// One step of 10 % down or up, within `lowest` to 100 %.
void step(int& percentage, bool lower, bool higher, int lowest = 0) {
  if (lower && percentage > lowest) percentage -= kVolumeStep;
  if (higher && percentage < kFullVolume) percentage += kVolumeStep;
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
  musicVolume = addPercentageRow(kChoices, 0, "Music volume");
  effectsVolume = addPercentageRow(kChoices, 1, "Effects volume");
  windowButton = addChoiceRow(kChoices, 2, "Window");
  scalingButton = addChoiceRow(kChoices, 3, "Scaling");
  vsyncButton = addChoiceRow(kChoices, 4, "Vertical sync (from the next start)");
  timerButton = addChoiceRow(kChoices, 5, "On-screen timer");
  ghostButton = addChoiceRow(kChoices, 6, "Ghost of the best run");
  world->add<GuiText>((kChoices.labelCentre + kChoices.choiceRight) / 2, rowTop(kAssistsRow) + kTextDrop, "Assists");
  gameSpeed = addPercentageRow(kChoices, kAssistsRow + 1, "Game speed");
  invincibleButton = addChoiceRow(kChoices, kAssistsRow + 2, "Invincibility");
  hintButton = addChoiceRow(kChoices, kAssistsRow + 3, "Hint after three deaths");
  for (int i = 0; i < kPlayKeyCount; ++i) keyButtons.push_back(addChoiceRow(kKeys, i, kKeyLabels[i]));
  double top = rowTop(kDefaultKeysRow);
  defaultKeysButton =
      &world->add<GuiButton>(Box{kDefaultKeysLeft, top, kDefaultKeysRight, top + kRowHeight}, "Default keys", true);
  message = &world->add<GuiText>(400, kMessageTop, "");
  backButton = &world->add<GuiButton>(Box{kWideLeft, kBackTop, kWideRight, kBackTop + kRowHeight}, "Back", true);
}

GuiText* OptionsState::addRowLabel(const Column& column, int row, const char* label) {
  return &world->add<GuiText>(column.labelCentre, rowTop(row) + kTextDrop, label);
}

OptionsState::PercentageButtons OptionsState::addPercentageRow(const Column& column, int row, const char* label) {
  addRowLabel(column, row, label);
  double top = rowTop(row), bottom = top + kRowHeight;
  PercentageButtons buttons;
  buttons.lower =
      &world->add<GuiButton>(Box{column.choiceLeft, top, column.choiceLeft + kStepWidth, bottom}, "-", true);
  buttons.value = &world->add<GuiText>((column.choiceLeft + column.choiceRight) / 2, top + kTextDrop, "");
  buttons.higher =
      &world->add<GuiButton>(Box{column.choiceRight - kStepWidth, top, column.choiceRight, bottom}, "+", true);
  return buttons;
}

GuiButton* OptionsState::addChoiceRow(const Column& column, int row, const char* label) {
  addRowLabel(column, row, label);
  double top = rowTop(row);
  return &world->add<GuiButton>(Box{column.choiceLeft, top, column.choiceRight, top + kRowHeight}, "", true);
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
  if (takeClick(scalingButton)) {
    settings.scaling = settings.scaling == Scaling::Smooth ? Scaling::WholePixels : Scaling::Smooth;
    if (GameWindow* window = GameWindow::current()) window->setScaling(settings.scaling);
  }
  readAssists();
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

// A change that turns an assist on says what it costs.
void OptionsState::readAssists() {
  Assists& assists = settings.assists;
  bool wasOn = assists.any();
  step(assists.gameSpeed, takeClick(gameSpeed.lower), takeClick(gameSpeed.higher), kSlowestGameSpeed);
  if (takeClick(invincibleButton)) assists.invincible = !assists.invincible;
  if (takeClick(hintButton)) assists.hint = !assists.hint;
  if (assists.any() && !wasOn) message->text = kAssistedNote;
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
  scalingButton->label = settings.scaling == Scaling::WholePixels ? "Whole pixels" : "Smooth";
  gameSpeed.value->text = std::to_string(settings.assists.gameSpeed) + "%";
  invincibleButton->label = yesNo(settings.assists.invincible);
  hintButton->label = yesNo(settings.assists.hint);
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
                                   windowButton,      scalingButton,      vsyncButton,         timerButton,
                                   ghostButton,       gameSpeed.lower,    gameSpeed.higher,    invincibleButton,
                                   hintButton};
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
