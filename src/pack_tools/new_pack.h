#pragma once

#include <string>
#include <vector>

// Starts a pack for an author: the folder (created when missing) gets a pack.txt naming the
// pack and listing level 1 with a target of a minute, and 1.lv, an empty level to open in the
// editor. Nothing is overwritten: a folder that already holds either file is refused. Returns
// the problems (with a name pack.txt would not accept among them), empty on success.
std::vector<std::string> makeNewPack(const std::string& folder, const std::string& name);
