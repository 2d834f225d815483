#pragma once

#include <string>

#include "campaign/played_level.h"
#include "campaign/progress.h"

// The editor's test play of the level in `editedFile`, counting its deaths and completions in
// `session` (the editor's own record, never saved): a numbered level of a campaign folder
// (one with a pack.txt) is played as that level, with the campaign's target times in the
// record; any other file as a level of no campaign and no target.
PlayedLevel testPlayOf(const std::string& editedFile, Progress& session);
