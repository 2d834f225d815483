#include "world/tile.h"

#include <algorithm>
#include <iterator>
#include <vector>

#include "app/blend.h"
#include "app/resource.h"
#include "world/channel_states.h"
#include "world/draw_layer.h"
#include "world/level.h"
#include "world/play_context.h"
#include "world/tag.h"
#include "world/world.h"

namespace {

constexpr float kSize = kCellSize;  // px

// One border quad of a solid tile; a switched-off tile draws the same quads fainter.
struct EdgeQuad {
  int edge;
  float x1, y1, x2, y2;  // px, relative to the tile's corner
  float grey;            // 0 black, 1 white
  bool strong;           // alpha 1.0 solid / 0.5 off; otherwise 0.25 solid / 0.12 off
};

constexpr EdgeQuad kEdgeQuads[] = {
    {Tile::EDGE_LEFT, 0, 0, 1, 20, 0, true},      {Tile::EDGE_RIGHT, 19, 0, 20, 20, 0, true},
    {Tile::EDGE_TOP, 0, 0, 20, 7, 1, false},      {Tile::EDGE_TOP, 0, 0, 20, 1, 0, true},
    {Tile::EDGE_BOTTOM, 0, 13, 20, 20, 0, false}, {Tile::EDGE_BOTTOM, 0, 19, 20, 20, 0, true},
};

ColouredRectangle edgeRectangle(const EdgeQuad& quad, float x, float y, bool solid) {
  float alpha = quad.strong ? (solid ? 1.0f : 0.5f) : (solid ? 0.25f : 0.12f);
  return {x + quad.x1, y + quad.y1, x + quad.x2, y + quad.y2, al_map_rgba_f(quad.grey, quad.grey, quad.grey, alpha)};
}

bool sameColour(const ALLEGRO_COLOR& a, const ALLEGRO_COLOR& b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

// Joins quads of one colour that meet end to end along the strip's length: down a column for
// left and right borders, along a row for top and bottom ones. The quads never overlap.
void joinStrips(std::vector<ColouredRectangle>& quads, bool vertical) {
  auto along = [vertical](const ColouredRectangle& q) { return vertical ? q.y1 : q.x1; };
  auto across = [vertical](const ColouredRectangle& q) { return vertical ? q.x1 : q.y1; };
  std::sort(quads.begin(), quads.end(), [&](const ColouredRectangle& a, const ColouredRectangle& b) {
    return across(a) != across(b) ? across(a) < across(b) : along(a) < along(b);
  });
  std::vector<ColouredRectangle> joined;
  for (const ColouredRectangle& quad : quads) {
    if (!joined.empty()) {
      ColouredRectangle& last = joined.back();
      bool follows = vertical ? last.x1 == quad.x1 && last.x2 == quad.x2 && last.y2 == quad.y1
                              : last.y1 == quad.y1 && last.y2 == quad.y2 && last.x2 == quad.x1;
      if (follows && sameColour(last.colour, quad.colour)) {
        (vertical ? last.y2 : last.x2) = vertical ? quad.y2 : quad.x2;
        continue;
      }
    }
    joined.push_back(quad);
  }
  quads.swap(joined);
}

}  // namespace

Tile::Tile(int switchChannel, Level* grid, int column, int gridRow)
    : Entity({tagOf("entt"), tagOf("rndr"), kTag}, DrawLayer::Tiles),
      channel(switchChannel),
      level(grid),
      col(column),
      row(gridRow),
      sheet(sheetResource("media/tilesheet.png")) {
  xPos = kSize * col;
  yPos = kSize * row;
}

// The picture replaces what lies under it; the borders blend over it with the default blender.
void Tile::draw() {
  if (ALLEGRO_BITMAP* shown = picture()) drawReplacingBitmap(shown, static_cast<float>(xPos), static_cast<float>(yPos));
  resetBlender();
  ColouredRectangle quads[std::size(kEdgeQuads)];
  int count = 0;
  for (const EdgeQuad& quad : kEdgeQuads) {
    if (edges & quad.edge)
      quads[count++] = edgeRectangle(quad, static_cast<float>(xPos), static_cast<float>(yPos), solid());
  }
  drawFilledRectangles(quads, count);
}

// Every quad of a tile, picture or border, stays inside the tile's own cell, so a run of tiles
// may be drawn pass by pass: every picture, then each border of the table over all the tiles,
// and the pixels are those of drawing the tiles one by one. A software renderer pays for each
// small quad it sets up, and the borders of a wall join into a few long strips.
void Tile::drawRun(const std::vector<Entity*>& run) {
  for (const Entity* entity : run) {
    auto* tile = static_cast<const Tile*>(entity);
    if (ALLEGRO_BITMAP* shown = tile->picture())
      drawReplacingBitmap(shown, static_cast<float>(tile->xPos), static_cast<float>(tile->yPos));
  }
  resetBlender();
  std::vector<ColouredRectangle> quads;
  for (const EdgeQuad& kind : kEdgeQuads) {
    quads.clear();
    for (const Entity* entity : run) {
      auto* tile = static_cast<const Tile*>(entity);
      if (tile->edges & kind.edge)
        quads.push_back(
            edgeRectangle(kind, static_cast<float>(tile->xPos), static_cast<float>(tile->yPos), tile->solid()));
    }
    joinStrips(quads, kind.edge == EDGE_LEFT || kind.edge == EDGE_RIGHT);
    drawFilledRectangles(quads.data(), static_cast<int>(quads.size()));
  }
}

bool Tile::solid() const {
  if (channel < 0 || channel >= kChannelCount) return false;
  return !world || !world->context || world->context->channelStates[channel] != 0;
}

// Null while the tile is off, or when the sheet has no picture for its channel.
ALLEGRO_BITMAP* Tile::picture() const {
  return solid() && channel < sheet->frameCount() ? sheet->frame(channel) : nullptr;
}

void Tile::link(Level* grid, int column, int gridRow) {
  level = grid;
  col = column;
  row = gridRow;
}

// A side is exposed when the neighbouring cell is empty or holds another channel's tile.
void Tile::computeEdges() {
  edges = 0;
  if (!level) return;
  const struct {
    int edge, dc, dr;
  } sides[] = {{EDGE_LEFT, -1, 0}, {EDGE_RIGHT, 1, 0}, {EDGE_TOP, 0, -1}, {EDGE_BOTTOM, 0, 1}};
  for (const auto& side : sides) {
    Tile* neighbour = level->cell(col + side.dc, row + side.dr);
    if (!neighbour || neighbour->channel != channel) edges |= side.edge;
  }
}
