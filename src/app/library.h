#pragma once

#include "app/result.h"

// Brings up the library system and the add-ons that the game and every tool use (images,
// fonts, TrueType, primitives, audio codecs), in the game's fixed order. The system shuts
// itself down when the process exits. A failure's message is the start-up message of the first
// facility that does not come up ("Unable to initialize Allegro 5." ...); the program decides
// what a failure means. Displays, input and audio are each program's own.
Result<> startLibrary();
