#pragma once

#include <allegro5/allegro.h>
#include <allegro5/allegro_audio.h>
#include <allegro5/allegro_font.h>

#include <string>

#include "app/load_failure.h"
#include "app/sheet.h"

// Every image, sheet, font and sound is loaded once, on first request, and kept for the rest
// of the process under its path. Callers keep the returned pointer as a borrowed handle.
// A missing bitmap or font ("Unable to find resource: '<path>'.") or sheet image goes to the
// program's load-failure handler and yields null; a missing sound prints a warning once and
// plays silence. Before audio is installed a sample request yields null (playSound ignores it).
void getResource(ALLEGRO_BITMAP*& destination, const std::string& path);
void getResource(Sheet*& destination, const std::string& path);
void getResource(ALLEGRO_FONT*& destination, const std::string& path);
void getResource(ALLEGRO_SAMPLE*& destination, const std::string& path);

// Convenience forms of the accessors above.
ALLEGRO_BITMAP* bitmapResource(const std::string& path);
Sheet* sheetResource(const std::string& path);
ALLEGRO_FONT* fontResource(const std::string& path = "media/font.ttf");
ALLEGRO_SAMPLE* sampleResource(const std::string& path);

// Number of entries in the cache (for tests of the one-load-per-path rule).
int resourceCount();
