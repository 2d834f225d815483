#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_set>
#include <vector>

#include "world/entity.h"
#include "world/tag.h"

class PlayContext;

// All entities of a level or a menu, filed by tag. Additions and removals wait for flush, so
// lists never change while they are walked. The world deletes an entity at the flush after its
// removal; entities still in it when it is destroyed are deleted too, except those handed to
// another owner with disown (the level grid takes the tiles it is built from).
class World {
 public:
  World() = default;
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  std::vector<Entity*>& byTag(int tag);
  Entity* first(int tag);
  void add(Entity* e);
  void remove(Entity* e);
  void flush();
  // One frame of the level: every "dyna" entity updated in list order, then the flush, so an
  // entity added meanwhile is first updated in the next frame and one killed is still updated
  // when its turn comes.
  void update(double dt);
  void disown(Entity* e);
  // Draws the "rndr" list, back to front.
  void draw();

  // Observers told when an entity is about to be deleted, so that pointers to it can be
  // cleared first (a lever's toucher, an avatar's carried object).
  class RemovalListener {
   public:
    virtual void entityRemoved(Entity* e) = 0;

   protected:
    ~RemovalListener() = default;
  };
  void addRemovalListener(RemovalListener* listener);
  void removeRemovalListener(RemovalListener* listener);

  // The level played in this world, which its entities reach through Entity::playContext; null
  // in a world no level is played in (the editor's, the menu's widgets). Not owned.
  PlayContext* context = nullptr;

 private:
  void retire(Entity* e);

  std::map<int, std::vector<Entity*>> byTag_;
  std::vector<Entity*> pendingAdditions_;
  std::vector<Entity*> pendingRemovals_;
  std::unordered_set<Entity*> pendingRemovalSet_;  // the same entities, to find one at once
  std::vector<RemovalListener*> removalListeners_;
  std::set<Entity*> disowned_;
};

float randomFloat(float lo, float hi);
int randomInt(int lo, int hi);
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
