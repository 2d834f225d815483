#pragma once

#include <array>
#include <cstddef>
#include <initializer_list>
#include <utility>
#include <vector>

#include "world/box.h"

class PlayContext;
class World;

// The tags an entity is filed under in its world (world/tag.h), at most six.
class TagList {
 public:
  static constexpr size_t kMostTags = 6;

  TagList(std::initializer_list<int> tags);
  const int* begin() const { return tags_.data(); }
  const int* end() const { return tags_.data() + count_; }

 private:
  std::array<int, kMostTags> tags_{};
  size_t count_;
};

// The base of every object in a level and of every menu widget. The world updates the
// entities of its "dyna" list and draws those of its "rndr" list. update never draws and
// draw never changes state; kill only asks the world to delete the entity at its next flush.
// What a level object keeps in a level file, and its editor label, belong to its row in the
// table of level object kinds (entities/prototypes.h), not to the entity.
class Entity {
 public:
  // Its tags and its draw layer (world/draw_layer.h) are the entity's for life.
  Entity(const TagList& tags, int drawLayer) : tags_(tags), drawLayer_(drawLayer) {}
  Entity(const Entity&) = delete;
  Entity& operator=(const Entity&) = delete;

  virtual ~Entity() = default;
  virtual void kill();
  const TagList& tags() const { return tags_; }
  // Sort key inside the list of a tag; lower comes first (drawn behind). The draw layer for
  // "rndr", 0 for every other tag.
  virtual int order(int tag) const;
  virtual void update(double dt);
  virtual void draw() {}
  // A kind of entity that can draw several of its own that follow one another in the draw list
  // in fewer draw calls names the function that does it; World::draw hands it each such run
  // while drawings may be regrouped. It must give the pixels of drawing them one by one.
  using RunDrawer = void (*)(const std::vector<Entity*>& run);
  virtual RunDrawer runDrawer() const { return nullptr; }
  virtual Box box() const { return Box{}; }
  // The level this entity is played in; only for an entity in a world that has one.
  PlayContext& playContext() const;

  std::pair<double, double> position() const { return {xPos, yPos}; }
  double x() const { return xPos; }
  double y() const { return yPos; }
  void setPosition(double x, double y) {
    xPos = x;
    yPos = y;
  }
  void setX(double x) { xPos = x; }
  void setY(double y) { yPos = y; }

  World* world = nullptr;

 protected:
  double xPos = 0;
  double yPos = 0;

 private:
  TagList tags_;
  int drawLayer_;
};
