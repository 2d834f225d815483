#include "states/help_page.h"

#include <allegro5/allegro.h>

#include "app/gamepad.h"

namespace {

std::string either(int first, int second) { return keyLabel(first) + ", " + keyLabel(second); }

}  // namespace

HelpPage helpPage(const KeyBindings& keys) {
  const std::string a = padButtonName(PadButton::A), b = padButtonName(PadButton::B);
  HelpPage page;
  page.controls = {
      {"Walk; steer in the air", either(keys[PlayKey::Left], keys[PlayKey::Right]), "stick or d-pad"},
      {"Jump; again in the air to jump once more", keyLabel(keys[PlayKey::Jump]), a},
      {"Crouch, then pick up what lies at your feet",
       keyLabel(keys[PlayKey::Down]) + ", then " + keyLabel(keys[PlayKey::Action]), "down, then " + b},
      {"Throw what you carry; steep with up held",
       keyLabel(keys[PlayKey::Action]) + " (" + keyLabel(keys[PlayKey::Up]) + ")", b + " (up)"},
      {"Pause, with Retry, Options and Help", keyLabel(ALLEGRO_KEY_P), padButtonName(PadButton::Start)},
      {"Restart the level", keyLabel(ALLEGRO_KEY_R), std::string(padButtonName(PadButton::X)) + " on a report"},
      {"After a level: the report's first choice", keyLabel(ALLEGRO_KEY_SPACE), a},
      {"Back to the menu", keyLabel(ALLEGRO_KEY_ESCAPE), b + " on a report"},
      {"Watch the run just played, or a level's best", "W", padButtonName(PadButton::Y)},
      {"Window or full screen", keyLabel(ALLEGRO_KEY_F11), ""},
  };
  page.aim = {"Every bin asks for a number of garbage bags. Throw or drop bags into each bin's mouth",
              "until all are full, and the level is done. Spikes, force fields, feral baddies, falls",
              "and closing walls kill; R or X starts again."};
  page.crowns = {"Gather all the loose garbage of a level for its golden crown, and do that within its",
                 "target time for the silver crown as well. Crowns and completions unlock themes."};
  page.editor = {"Make levels of your own in the editor: the Editor button in the menu, or start the",
                 "game as binhopper -editor."};
  return page;
}
