#include "entities/tile.h"

#include <allegro5/allegro_opengl.h>

#include "app/blend.h"
#include "app/resource.h"
#include "entities/channel_states.h"
#include "world/level.h"
#include "world/tag.h"
#include "world/world.h"

namespace {

constexpr float kSize = 20.0f;  // px, one grid cell

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
  glBegin(GL_QUADS);
  for (const EdgeQuad& quad : kEdgeQuads) {
    if (!(edges & quad.edge)) continue;
    float alpha = quad.strong ? (solid ? 1.0f : 0.5f) : (solid ? 0.25f : 0.12f);
    glColor4f(quad.grey, quad.grey, quad.grey, alpha);
    glVertex2f(x + quad.x1, y + quad.y2);
    glVertex2f(x + quad.x2, y + quad.y2);
    glVertex2f(x + quad.x2, y + quad.y1);
    glVertex2f(x + quad.x1, y + quad.y1);
  }
  glEnd();
}

}  // namespace

Tile::Tile(int switchChannel, Level* grid, int column, int gridRow)
    : channel(switchChannel), level(grid), col(column), row(gridRow), sheet(sheetResource("media/tilesheet.png")) {
  xPos = kSize * col;
  yPos = kSize * row;
}

const int* Tile::tags() const {
  static const int list[] = {tagOf("entt"), tagOf("rndr"), tagOf("posi"), tagOf("tile"), 0};
  return list;
}

int Tile::order(int tag) const { return tag == tagOf("rndr") ? 50 : Entity::order(tag); }

// The picture goes through the library with blending switched off in GL; the library turns
// blending on again for its own drawing, so it is still drawn with the default blender.
void Tile::draw() {
  float x = static_cast<float>(xPos);
  float y = static_cast<float>(yPos);
  bool solid = channel >= 0 && channel < kChannelCount && channelStates[channel] != 0;
  if (solid) {
    glDisable(GL_BLEND);
    if (channel < sheet->frameCount()) al_draw_bitmap(sheet->frame(channel), x, y, 0);
    glEnable(GL_BLEND);
  } else {
    resetBlender();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  }
  drawEdgeQuads(edges, x, y, solid);
}

void Tile::write(FILE* file) const {
  Entity::write(file);
  std::fputc(channel & 0xFF, file);
}

void Tile::read(FILE* file) {
  Entity::read(file);
  channel = std::fgetc(file);
}

Entity* Tile::create() const { return new Tile(channel, nullptr, col, row); }

std::string Tile::editorLabel() const { return format("tile(%d)", channel); }

std::string Tile::recordProblem() const {
  if (channel >= 0 && channel < kChannelCount) return "";
  return format("tile channel %d is outside 0 to %d", channel, kChannelCount - 1);
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
