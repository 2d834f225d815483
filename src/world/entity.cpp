#include "world/entity.h"

#include "app/geometry.h"
#include "world/world.h"

void Entity::kill() { world->remove(this); }

const int* Entity::tags() const {
  static const int none[] = {0};
  return none;
}

int Entity::order(int) const { return 0; }

void Entity::update(double) {}

// Positions are stored as whole cells: (x truncated) / cell size, low 8 bits.
void Entity::write(FILE* file) const {
  const char* code = typeCode();
  std::fputc(code[0], file);
  std::fputc(code[1], file);
  std::fputc((static_cast<int>(xPos) / kCellSize) & 0xFF, file);
  std::fputc((static_cast<int>(yPos) / kCellSize) & 0xFF, file);
}

void Entity::read(FILE* file) {
  int column = std::fgetc(file);
  int row = std::fgetc(file);
  xPos = column * double{kCellSize};
  yPos = row * double{kCellSize};
}
