#pragma once

#include <string>
#include <vector>

// What "Save into a campaign" asks, one answer after the other: the folder of the pack among the
// player's packs (one of them, or a new name, which makes a new pack), then the level's number,
// the pack's next free one unless the author types another. It needs no display.
class CampaignForm {
 public:
  // `suggested` is the folder name offered first (the pack of the level edited, or none).
  CampaignForm(std::string packsFolder, std::string suggested);

  bool askingNumber() const { return next_ > 0; }
  // The line above the entry and the keys below it, and the answer offered to start with.
  std::string label() const;
  std::string keys() const;
  std::string offered() const;
  // Tab: the player's next pack after the one typed, by folder name, after the last the first;
  // the text typed when there is none.
  std::string nextPack(const std::string& typed) const;
  // Enter: "" when the answer is taken (the form then asks the number, or is done), else why not.
  std::string answer(const std::string& text);
  bool done() const { return number_ > 0; }

  std::string packFolder() const { return packsFolder_ + "/" + name_; }
  int number() const { return number_; }

 private:
  std::string packsFolder_;
  std::string name_;
  std::vector<std::string> packs_;  // the folder names already there, sorted
  int next_ = 0;                    // the pack's next free level once its folder is chosen
  int number_ = 0;
};
