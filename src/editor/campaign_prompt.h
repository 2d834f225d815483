#pragma once

#include <allegro5/allegro.h>

#include <optional>
#include <string>

#include "editor/campaign_form.h"
#include "editor/text_entry.h"

// "Save into a campaign" at the keyboard: the form's questions asked one after the other in a
// text entry of their own. Tab offers the player's next pack; a refused answer stays to be
// mended.
class CampaignPrompt {
 public:
  enum class Outcome { Asking, Refused, Cancelled, Chosen };

  // The pack of the level edited is offered first when it is one of the player's.
  void open(const std::string& packsFolder, const std::string& editedFile, double at);
  bool isOpen() const { return form_.has_value(); }
  // One key of the keyboard's character events. Refused: problem() says why; Chosen: form()
  // holds the pack and the number, and the prompt is closed.
  Outcome type(const ALLEGRO_KEYBOARD_EVENT& key);
  const std::string& problem() const { return problem_; }
  const CampaignForm& form() const { return *chosen_; }
  void close() { form_.reset(); }
  void draw() { entry_.draw(); }

 private:
  void ask(const std::string& text, double at);

  std::optional<CampaignForm> form_;
  std::optional<CampaignForm> chosen_;
  TextEntry entry_;
  std::string problem_;
};
