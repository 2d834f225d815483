#pragma once

#include <string>
#include <vector>

#include "world/world.h"

// What makes a level impossible to finish or its crowns impossible to earn: no avatar or
// more than one, no container, containers wanting more bags than the level holds, objects
// outside the 40 x 30 screen. One line per problem; empty when the level is sound.
std::vector<std::string> levelProblems(World& world);
