#pragma once

#include <allegro5/allegro.h>

#include <string>

// With batched drawing and a display, every PNG image of the media folder is packed into one
// texture the first time an image is asked for, so that the library can send a run of sprites
// from different files in one draw call. The images keep their pixels byte for byte, straight
// alpha like every image of the game, one transparent pixel apart.

// A bitmap of the image at path: a sub-bitmap of the atlas when it holds the image, else the
// file loaded on its own. The caller destroys it; null when the image does not load.
ALLEGRO_BITMAP* loadImage(const std::string& path);

// A 1 × 1 opaque white sub-bitmap of the atlas, tinted and stretched for filled rectangles;
// null without an atlas.
ALLEGRO_BITMAP* atlasWhiteTexel();
