#pragma once

#include <string>

#include "world/channel_states.h"

class Entity;
class PlayContext;
class World;

// The lines of binhopper-sim's output. Level solutions, tests and outside tools read them, so
// their form is fixed: doubles as "%.17g", integers plainly, fields separated by one blank.

// "F <n> <c0c1...c9>": the frame number and the level's ten channel states as digits.
std::string frameLine(int frame, const ChannelStates& channels);
// The line of one entity of the "dyna" list: "<code> <x> <y>" and its kind's trace fields, or ""
// for a kind that is not traced (the table of level object kinds says which are).
std::string traceLine(Entity& entity);
// "END frames=... loose=...": the avatar's outcome (status 0 and an empty reason without an
// avatar) and the play context's counters truncated to integers.
std::string endLine(int frames, World& world, const PlayContext& context);
