#include "app/blend.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/resource.h"
#include "unit/test_support.h"

namespace {

// The TrueType font of the Debian font package the game's own font is made from.
const char* const kSystemFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

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

TEST(Blend, BlendColourTintsBitmapsAndPrimitives) {
  initAllegroForTests();
  TempDir dir;
  ALLEGRO_BITMAP* halfRed = pixelImage(dir, "half-red.png", al_map_rgba(255, 0, 0, 128));
  ALLEGRO_BITMAP* white = pixelImage(dir, "white.png", al_map_rgba(255, 255, 255, 255));
  const ALLEGRO_COLOR black = al_map_rgb(0, 0, 0);
  const ALLEGRO_COLOR opaqueWhite = al_map_rgb(255, 255, 255);

  {
    Canvas canvas(1, 1, black);
    drawBitmap(halfRed, 0, 0, 0);
    expectNear(canvas.at(0, 0), {128, 0, 0}, "straight alpha: red 255 at alpha 128 over black");
  }
  {
    Canvas canvas(1, 1, black);
    setBlendColour(al_map_rgba(255, 255, 255, 128));
    drawBitmap(white, 0, 0, 0);
    expectNear(canvas.at(0, 0), {128, 128, 128}, "bitmap faded by the blend colour's alpha");
  }
  {
    Canvas canvas(1, 1, black);
    setBlendColour(al_map_rgba(255, 0, 0, 255));
    drawFilledRectangle(0, 0, 1, 1, opaqueWhite);
    expectNear(canvas.at(0, 0), {255, 0, 0}, "white primitive tinted red");
  }
  {
    Canvas canvas(1, 1, opaqueWhite);
    setBlendColour(al_map_rgba(0, 0, 0, 80));
    drawFilledRectangle(0, 0, 1, 1, black);
    expectNear(canvas.at(0, 0), {175, 175, 175}, "black veil of alpha 80: 255 x (1 - 80/255)");
  }
  {
    Canvas canvas(1, 1, al_map_rgb(100, 100, 100));
    setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgba(255, 255, 255, 128));
    drawFilledRectangle(0, 0, 1, 1, opaqueWhite);
    expectNear(canvas.at(0, 0), {228, 228, 228}, "additive glow: 100 + 255 x 128/255");
  }
  resetBlender();
}

// Ellipses sent together must be the library's own, segment for segment: from below the
// smallest it draws, through the glows' radii, to one that fills its vertex cache.
TEST(Blend, EllipsesInOneCallAreTheLibrarysEllipses) {
  initAllegroForTests();
  const ALLEGRO_COLOR sky = al_map_rgb(40, 60, 120);
  const float radii[] = {0.02f, 0.05f, 0.3f, 1.0f, 2.7f, 4.41f, 6.25f, 9.9f, 10.0f, 37.5f, 700.0f};
  const float centres[][2] = {{70, 70}, {70.5f, 70.25f}, {63.3f, 77.8f}};
  for (float radius : radii) {
    for (const auto& centre : centres) {
      ColouredEllipse ellipse{centre[0], centre[1], radius, radius * 0.75f, al_map_rgba(255, 230, 128, 200)};
      Canvas library(140, 140, sky);
      setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgba(255, 255, 255, 90));
      drawFilledEllipse(ellipse.cx, ellipse.cy, ellipse.rx, ellipse.ry, ellipse.colour);
      Canvas together(140, 140, sky);
      setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgba(255, 255, 255, 90));
      drawFilledEllipses(&ellipse, 1);
      EXPECT_TRUE(library.bytes() == together.bytes())
          << "radius " << radius << " at " << centre[0] << ", " << centre[1];
    }
  }
  {
    // So wide that the library stops at its vertex cache; its lower edge crosses the canvas.
    ColouredEllipse huge{70, -1470, 2000, 1500, al_map_rgb(255, 255, 255)};
    Canvas library(140, 140, sky);
    drawFilledEllipse(huge.cx, huge.cy, huge.rx, huge.ry, huge.colour);
    Canvas together(140, 140, sky);
    drawFilledEllipses(&huge, 1);
    EXPECT_TRUE(library.bytes() == together.bytes()) << "an ellipse of the most segments";
  }
  const ColouredEllipse rings[] = {{30, 30, 9, 9, al_map_rgba(255, 255, 255, 120)},
                                   {45.5f, 33, 8.2f, 8.2f, al_map_rgba(255, 255, 255, 60)},
                                   {38, 41.7f, 3, 3, al_map_rgba(255, 0, 0, 255)}};
  Canvas oneByOne(80, 80, sky);
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgb(255, 255, 255));
  for (const ColouredEllipse& ring : rings) drawFilledEllipse(ring.cx, ring.cy, ring.rx, ring.ry, ring.colour);
  Canvas together(80, 80, sky);
  setBlender(ALLEGRO_ALPHA, ALLEGRO_ONE, al_map_rgb(255, 255, 255));
  drawFilledEllipses(rings, 3);
  EXPECT_TRUE(oneByOne.bytes() == together.bytes()) << "three overlapping glows";
  resetBlender();
}

}  // namespace
