#include "app/blend.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/resource.h"
#include "unit/test_support.h"

namespace {

// A one-pixel PNG of the given straight-alpha colour, loaded through the resource cache.
ALLEGRO_BITMAP* pixelImage(const TempDir& dir, const std::string& name, ALLEGRO_COLOR colour) {
  std::string path = dir.file(name);
  {
    Canvas image(1, 1, colour);
    EXPECT_TRUE(al_save_bitmap(path.c_str(), image.bitmap()));
  }
  // Loaded under the default flags: the cache alone must keep the alpha straight.
  NewBitmapFlags defaults(0);
  return bitmapResource(path);
}

void expectNear(Rgb actual, Rgb expected, const char* label) {
  EXPECT_NEAR(actual.r, expected.r, 1) << label;
  EXPECT_NEAR(actual.g, expected.g, 1) << label;
  EXPECT_NEAR(actual.b, expected.b, 1) << label;
}

// The one pixel of a canvas of the background colour after `draw` under the blend colour (a new
// canvas resets the blender).
Rgb pixelAfter(ALLEGRO_COLOR background, ALLEGRO_COLOR blend, const std::function<void()>& draw) {
  Canvas canvas(1, 1, background);
  setBlendColour(blend);
  draw();
  return canvas.at(0, 0);
}

TEST(Blend, BlendColourTintsBitmapsAndPrimitives) {
  initAllegroForTests();
  TempDir dir;
  ALLEGRO_BITMAP* halfRed = pixelImage(dir, "half-red.png", al_map_rgba(255, 0, 0, 128));
  ALLEGRO_BITMAP* white = pixelImage(dir, "white.png", al_map_rgba(255, 255, 255, 255));
  const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
  const ALLEGRO_COLOR opaqueWhite = al_map_rgb(255, 255, 255);
  auto square = [](ALLEGRO_COLOR colour) { return [colour] { drawFilledRectangle(0, 0, 1, 1, colour); }; };

  expectNear(pixelAfter(black, opaqueWhite, [&] { drawBitmap(halfRed, 0, 0, 0); }), {128, 0, 0},
             "straight alpha: red 255 at alpha 128 over black");
  expectNear(pixelAfter(black, al_map_rgba(255, 255, 255, 128), [&] { drawBitmap(white, 0, 0, 0); }), {128, 128, 128},
             "bitmap faded by the blend colour's alpha");
  expectNear(pixelAfter(black, al_map_rgba(255, 0, 0, 255), square(opaqueWhite)), {255, 0, 0},
             "white primitive tinted red");
  expectNear(pixelAfter(opaqueWhite, al_map_rgba(0, 0, 0, 80), square(black)), {175, 175, 175},
             "black veil of alpha 80: 255 x (1 - 80/255)");
  auto additive = [&] {
    setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgba(255, 255, 255, 128));
    square(opaqueWhite)();
  };
  expectNear(pixelAfter(al_map_rgb(100, 100, 100), opaqueWhite, additive), {228, 228, 228},
             "additive glow: 100 + 255 x 128/255");
  resetBlender();
}

// The ellipses drawn one library call each and all in one call, under the same additive
// blender, give the same canvas.
void expectSameAsLibrary(const ColouredEllipse* ellipses, int count, int size, ALLEGRO_COLOR glow,
                         const std::string& label) {
  const ALLEGRO_COLOR sky = al_map_rgb(40, 60, 120);
  Canvas library(size, size, sky);
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, glow);
  for (int i = 0; i < count; ++i) {
    drawFilledEllipse(ellipses[i].cx, ellipses[i].cy, ellipses[i].rx, ellipses[i].ry, ellipses[i].colour);
  }
  Canvas together(size, size, sky);
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, glow);
  drawFilledEllipses(ellipses, count);
  EXPECT_TRUE(library.bytes() == together.bytes()) << label;
}

// Ellipses sent together must be the library's own, segment for segment: from below the
// smallest it draws, through the glows' radii, to one that fills its vertex cache.
TEST(Blend, EllipsesInOneCallAreTheLibrarysEllipses) {
  initAllegroForTests();
  const ALLEGRO_COLOR faint = al_map_rgba(255, 255, 255, 90);
  const float radii[] = {0.02f, 0.05f, 0.3f, 1.0f, 2.7f, 4.41f, 6.25f, 9.9f, 10.0f, 37.5f, 700.0f};
  const float centres[][2] = {{70, 70}, {70.5f, 70.25f}, {63.3f, 77.8f}};
  for (float radius : radii) {
    for (const auto& centre : centres) {
      ColouredEllipse ellipse{centre[0], centre[1], radius, radius * 0.75f, al_map_rgba(255, 230, 128, 200)};
      expectSameAsLibrary(
          &ellipse, 1, 140, faint,
          "radius " + std::to_string(radius) + " at " + std::to_string(centre[0]) + ", " + std::to_string(centre[1]));
    }
  }
  // So wide that the library stops at its vertex cache; its lower edge crosses the canvas.
  ColouredEllipse huge{70, -1470, 2000, 1500, al_map_rgb(255, 255, 255)};
  expectSameAsLibrary(&huge, 1, 140, faint, "an ellipse of the most segments");
  const ColouredEllipse rings[] = {{30, 30, 9, 9, al_map_rgba(255, 255, 255, 120)},
                                   {45.5f, 33, 8.2f, 8.2f, al_map_rgba(255, 255, 255, 60)},
                                   {38, 41.7f, 3, 3, al_map_rgba(255, 0, 0, 255)}};
  expectSameAsLibrary(rings, 3, 80, al_map_rgb(255, 255, 255), "three overlapping glows");
  resetBlender();
}

}  // namespace
