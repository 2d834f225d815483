#pragma once

#include <string>
#include <vector>

// The outcome of installing a pack: the check's lines when it ran, and on success the folder
// the pack now lives in; on refusal the reason, with nothing written in the packs folder.
struct PackInstall {
  std::vector<std::string> checkLines;
  std::string refusal;
  std::string installedIn;

  bool ok() const { return refusal.empty(); }
};

// Installs a pack folder or a .zip / .tar.gz archive into packsFolder/<the pack's folder
// name>. The pack is read with the entry rules (pack_files.h), checked as an author's check
// does (on a copy in the system's temporary folder), and then copied into a hidden folder
// beside its place and renamed into it, so the place holds the old pack or the new one whole,
// never a mixture. An existing pack there is replaced only with `replace`. The packs folder
// is created only when a pack goes into it. The check needs what checkPack needs.
PackInstall installPack(const std::string& source, const std::string& packsFolder, bool replace);
