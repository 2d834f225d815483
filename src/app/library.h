#pragma once

#include <string>

// Brings up the library system and the add-ons that the game and every tool use (images,
// fonts, TrueType, primitives, audio codecs), in the game's fixed order. The system shuts
// itself down when the process exits. Returns the start-up message of the first facility
// that does not come up ("Unable to initialize Allegro 5." ...), or an empty string; the
// program decides what a failure means. Displays, input and audio are each program's own.
std::string startLibrary();
