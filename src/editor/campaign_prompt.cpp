#include "editor/campaign_prompt.h"

#include <filesystem>
#include <system_error>

void CampaignPrompt::open(const std::string& packsFolder, const std::string& editedFile, double at) {
  std::error_code error;
  std::filesystem::path folder = std::filesystem::absolute(editedFile, error).parent_path();
  bool inPack = std::filesystem::equivalent(folder.parent_path(), packsFolder, error);
  form_.emplace(packsFolder, inPack ? folder.filename().string() : "");
  ask(form_->offered(), at);
}

void CampaignPrompt::ask(const std::string& text, double at) { entry_.open(text, at, form_->label(), form_->keys()); }

CampaignPrompt::Outcome CampaignPrompt::type(const ALLEGRO_KEYBOARD_EVENT& key) {
  if (!form_) return Outcome::Cancelled;
  if (key.keycode == ALLEGRO_KEY_TAB && !form_->askingNumber()) {
    ask(form_->nextPack(entry_.text()), key.timestamp);
    return Outcome::Asking;
  }
  TextEntry::Outcome typed = entry_.type(key.keycode, key.unichar, key.timestamp);
  if (typed == TextEntry::Outcome::Editing) return Outcome::Asking;
  if (typed == TextEntry::Outcome::Cancelled) {
    close();
    return Outcome::Cancelled;
  }
  problem_ = form_->answer(entry_.text());
  if (!problem_.empty()) return Outcome::Refused;
  if (!form_->done()) {
    ask(form_->offered(), key.timestamp);
    return Outcome::Asking;
  }
  chosen_ = std::move(form_);
  close();
  return Outcome::Chosen;
}
