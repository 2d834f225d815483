#pragma once

#include <string>

#include "pack_tools/pack_files.h"

// The largest archive file read: the most a pack may hold, with room for the archive's own
// headers.
constexpr uint64_t kMaximumArchiveBytes = 2 * kMaximumPackBytes;

// Reads a .zip or .tar.gz (also a plain .tar) archive held in memory, by its content whatever
// its name, with the entry rules of PackCollector. A pack whose entries lie loose, in no top
// folder, takes folderNameIfLoose.
Result<PackRead> readPackArchive(const std::string& archive, const std::string& folderNameIfLoose);

// The folder name an archive file suggests for a pack whose entries lie loose: its name
// without the directory and without ".zip", ".tar.gz", ".tgz" or ".tar".
std::string archiveStem(const std::string& path);

// A zip archive holding the files under the top folder `folderName`, entries in name order,
// every date the one given (seconds since 1970) so that the same pack gives the same bytes.
std::string zipPack(const PackFiles& files, const std::string& folderName, long long modified);
