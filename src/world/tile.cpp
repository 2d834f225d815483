#include "world/tile.h"

#include <iterator>

#include "app/blend.h"
#include "app/resource.h"
#include "world/channel_states.h"
#include "world/draw_layer.h"
#include "world/level.h"
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

void drawEdgeQuads(int edges, float x, float y, bool solid) {
  ColouredRectangle quads[std::size(kEdgeQuads)];
  int count = 0;
  for (const EdgeQuad& quad : kEdgeQuads) {
    if (!(edges & quad.edge)) continue;
    float alpha = quad.strong ? (solid ? 1.0f : 0.5f) : (solid ? 0.25f : 0.12f);
    quads[count++] = {x + quad.x1, y + quad.y1, x + quad.x2, y + quad.y2,
                      al_map_rgba_f(quad.grey, quad.grey, quad.grey, alpha)};
  }
  drawFilledRectangles(quads, count);
}

}  // namespace

Tile::Tile(int switchChannel, Level* grid, int column, int gridRow)
    : channel(switchChannel), level(grid), col(column), row(gridRow), sheet(sheetResource("media/tilesheet.png")) {
  xPos = kSize * col;
  yPos = kSize * row;
}

const int* Tile::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("tile"), 0};
  return list;
}

int Tile::order(int tag) const { return tag == tagOf("rndr") ? DrawLayer::Tiles : Entity::order(tag); }

// The picture replaces what lies under it; the borders blend over it with the default blender.
void Tile::draw() {
  float x = static_cast<float>(xPos);
  float y = static_cast<float>(yPos);
  bool solid = channel >= 0 && channel < kChannelCount && channelStates[channel] != 0;
  if (solid && channel < sheet->frameCount()) drawReplacingBitmap(sheet->frame(channel), x, y);
  if (!solid) resetBlender();
  drawEdgeQuads(edges, x, y, solid);
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
