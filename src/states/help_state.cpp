#include "states/help_state.h"

#include <allegro5/allegro_font.h>

#include "app/blend.h"
#include "app/resource.h"
#include "app/switch.h"
#include "gui/gui_text.h"
#include "states/help_page.h"

namespace {

constexpr double kPanelLeft = 60.0, kPanelTop = 20.0, kPanelRight = 740.0, kPanelBottom = 585.0;  // px
constexpr int kPanelAlpha = 225;
constexpr float kHeadingTop = 30.0f;                                       // px
constexpr float kTableTop = 60.0f;                                         // px: the column names; the rows follow
constexpr float kLineHeight = 18.0f;                                       // px
constexpr float kSectionGap = 12.0f;                                       // px above a paragraph
constexpr float kWhatLeft = 75.0f, kKeysLeft = 420.0f, kPadLeft = 590.0f;  // px
constexpr double kBackLeft = 300.0, kBackTop = 548.0, kBackRight = 500.0, kBackBottom = 576.0;  // px

const ALLEGRO_COLOR kWhite = {1, 1, 1, 1};
const ALLEGRO_COLOR kYellow = {1, 1, 0, 1};

void line(ALLEGRO_FONT* font, ALLEGRO_COLOR colour, float x, float y, const std::string& text) {
  setBlendColour(colour);
  drawText(font, x, y, ALLEGRO_ALIGN_LEFT, text);
}

float paragraph(ALLEGRO_FONT* font, float y, const char* heading, const std::vector<std::string>& lines) {
  y += kSectionGap;
  line(font, kYellow, kWhatLeft, y, heading);
  for (const std::string& text : lines) line(font, kWhite, kWhatLeft, y += kLineHeight, text);
  return y + kLineHeight;
}

}  // namespace

HelpState::HelpState(PlayState& scene, SceneMotion motion)
    : AppState(al_get_current_display()), world(std::make_unique<World>()), scene_(scene), motion_(motion) {
  world->add<GuiText>(400, kHeadingTop, "Help");
  backButton = &world->add<GuiButton>(Box{kBackLeft, kBackTop, kBackRight, kBackBottom}, "Back", true);
  world->flush();
}

void HelpState::update(double dt) {
  if (motion_ == SceneMotion::Moving) scene_.update(dt);
  world->update(dt);
  if (focus_.update({backButton}, menuKeysHeld(), mouse.x, mouse.y)) backButton->clicked = true;
  Switch** controls = Controls();
  bool leave = controls[kControlEscape]->isDown() || controls[kControlStart]->isDown() ||
               controls[kControlPadB]->isDown() || backButton->clicked;
  backButton->clicked = false;
  if (leave) status = RunStatus::Done;
}

void HelpState::draw(ALLEGRO_DISPLAY* screen) {
  scene_.draw(screen);
  setBlendColour(al_map_rgba(255, 255, 255, kPanelAlpha));
  drawFilledRectangle(kPanelLeft, kPanelTop, kPanelRight, kPanelBottom, al_map_rgb(0, 0, 0));
  resetBlender();
  world->draw();
  drawPage();
  focus_.draw();
}

// Drawn from the bindings in force each frame, so a key changed on the Options screen shows.
void HelpState::drawPage() const {
  ALLEGRO_FONT* font = fontResource();
  HelpPage page = helpPage(keyBindingsInUse());
  float y = kTableTop;
  line(font, kYellow, kWhatLeft, y, "Controls");
  line(font, kYellow, kKeysLeft, y, "Keyboard");
  line(font, kYellow, kPadLeft, y, "Gamepad");
  for (const HelpPage::Control& control : page.controls) {
    y += kLineHeight;
    line(font, kWhite, kWhatLeft, y, control.what);
    line(font, kWhite, kKeysLeft, y, control.keys);
    line(font, kWhite, kPadLeft, y, control.pad);
  }
  y += kLineHeight;
  y = paragraph(font, y, "The aim", page.aim);
  y = paragraph(font, y, "Crowns", page.crowns);
  paragraph(font, y, "The editor", page.editor);
  resetBlender();
}
