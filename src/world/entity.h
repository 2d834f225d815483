#pragma once

#include <cstdio>
#include <string>
#include <utility>

#include "world/box.h"

class World;

// The base of every object in a level and of every menu widget. The world updates the
// entities of its "dyna" list and draws those of its "rndr" list. update never draws and
// draw never changes state; kill only asks the world to delete the entity at its next flush.
// write/read handle one level-file record (the loader has consumed the type code already).
class Entity {
 public:
  Entity() = default;
  Entity(const Entity&) = delete;
  Entity& operator=(const Entity&) = delete;

  virtual const char* typeCode() const { return "XX"; }
  virtual ~Entity() = default;
  virtual void kill();
  // Zero-terminated list of the class's tags.
  virtual const int* tags() const;
  // Sort key inside the list of a tag; lower comes first (drawn behind).
  virtual int order(int tag) const;
  virtual std::pair<double, double> position() const { return {xPos, yPos}; }
  virtual double x() const { return xPos; }
  virtual double y() const { return yPos; }
  virtual void setPosition(double x, double y) {
    xPos = x;
    yPos = y;
  }
  virtual void setX(double x) { xPos = x; }
  virtual void setY(double y) { yPos = y; }
  virtual void update(double dt);
  virtual void draw() {}
  virtual Box box() const { return Box{}; }
  virtual void write(FILE* file) const;
  virtual void read(FILE* file);
  virtual Entity* create() const { return nullptr; }
  virtual std::string editorLabel() const { return ""; }

  // Why a record just read holds a value the game cannot use (for example a channel outside
  // 0 to 9); empty when the record is sound. The level loader rejects the file otherwise.
  virtual std::string recordProblem() const { return ""; }

  World* world = nullptr;

 protected:
  double xPos = 0;
  double yPos = 0;
};
