#pragma once

#include <string>
#include <vector>

#include "app/result.h"
#include "campaign/discovery.h"
#include "states/menu_model.h"

// The outcome of installing a pack: the check's lines when it ran, and the folder the pack now
// lives in, or why it was refused (with nothing written in the packs folder).
struct PackInstall {
  std::vector<std::string> checkLines;
  std::string folderName;  // the pack's, once it was read
  Result<std::string> installedIn;
  bool alreadyInstalled = false;  // refused only because a pack of that folder name is installed

  bool ok() const { return installedIn.ok(); }
};

// Installs a pack folder or a .zip / .tar.gz archive into places.playerPacks/<the pack's folder
// name>. The pack is read with the entry rules (pack_files.h), refused when its folder name is
// the built-in campaign's or a shipped pack's, checked as an author's check does (on a copy in
// a temporary folder: $TMPDIR, /tmp, else .tmp in the player directory, removed also when a
// signal ends the install), and then copied into a hidden folder beside its place and renamed
// into it, so the place holds the old pack or the new one whole, never a mixture. An existing
// pack there is replaced only with `replace`. The packs folder is created only when a pack goes
// into it. The check needs what checkPack needs.
PackInstall installPack(const std::string& source, const CampaignPlaces& places, bool replace);

// The install's last word, as --install-pack and the menu both say it: "installed SOURCE in
// FOLDER", or "cannot install SOURCE: REASON".
std::string installOutcome(const std::string& source, const PackInstall& install);
// The check's lines that name a problem (not the LEVEL, PROOF and PACK lines), in order.
std::vector<std::string> checkProblems(const PackInstall& install);

// "Add a campaign…" in the menu: the same install, checks and words as --install-pack, the
// check's problems before the outcome.
CampaignInstall installForMenu(const std::string& source, const CampaignPlaces& places, bool replace);
