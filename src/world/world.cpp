#include "world/world.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <set>

World::~World() {
  // Listeners are entities of this world; they must not hear of their neighbours' deletion now.
  removalListeners_.clear();
  std::set<Entity*> doomed(pendingAdditions_.begin(), pendingAdditions_.end());
  for (Entity* e : byTag(tagOf("entt"))) doomed.insert(e);
  for (Entity* e : pendingRemovals_) doomed.insert(e);
  for (Entity* e : disowned_) doomed.erase(e);
  for (Entity* e : doomed) delete e;
}

std::vector<Entity*>& World::byTag(int tag) { return byTag_[tag]; }

Entity* World::first(int tag) {
  const std::vector<Entity*>& list = byTag(tag);
  return list.empty() ? nullptr : list.front();
}

void World::disown(Entity* e) { disowned_.insert(e); }

void World::add(Entity* e) { pendingAdditions_.push_back(e); }

// Removing twice before a flush, or removing an entity still waiting to be added, must not
// lead to a double delete or to a deleted entity entering the lists.
void World::remove(Entity* e) {
  if (std::find(pendingRemovals_.begin(), pendingRemovals_.end(), e) != pendingRemovals_.end()) return;
  pendingAdditions_.erase(std::remove(pendingAdditions_.begin(), pendingAdditions_.end(), e), pendingAdditions_.end());
  pendingRemovals_.push_back(e);
}

void World::addRemovalListener(RemovalListener* listener) {
  if (std::find(removalListeners_.begin(), removalListeners_.end(), listener) == removalListeners_.end()) {
    removalListeners_.push_back(listener);
  }
}

void World::removeRemovalListener(RemovalListener* listener) {
  removalListeners_.erase(std::remove(removalListeners_.begin(), removalListeners_.end(), listener),
                          removalListeners_.end());
}

void World::flush() {
  std::set<int> touched;
  std::vector<Entity*> removals;
  removals.swap(pendingRemovals_);
  for (Entity* e : removals) {
    for (const int* tag = e->tags(); *tag; ++tag) {
      touched.insert(*tag);
      std::vector<Entity*>& list = byTag(*tag);
      list.erase(std::remove(list.begin(), list.end(), e), list.end());
    }
    removeRemovalListener(dynamic_cast<RemovalListener*>(e));
    for (RemovalListener* listener : std::vector<RemovalListener*>(removalListeners_)) listener->entityRemoved(e);
    // A disowned entity leaves the lists but belongs to its new owner (a grid's tile).
    if (disowned_.erase(e) == 0) delete e;
  }
  std::vector<Entity*> additions;
  additions.swap(pendingAdditions_);
  for (Entity* e : additions) {
    for (const int* tag = e->tags(); *tag; ++tag) {
      touched.insert(*tag);
      byTag(*tag).push_back(e);
    }
    e->world = this;
  }
  for (int tag : touched) {
    if (tag != tagOf("rndr") && tag != tagOf("entt")) continue;
    std::vector<Entity*>& list = byTag(tag);
    std::stable_sort(list.begin(), list.end(), [tag](Entity* a, Entity* b) { return a->order(tag) < b->order(tag); });
  }
}

// The C library's rand is never seeded, so every run draws the same numbers. Only its low 15
// bits are used: the scale below is made for rand values 0 to 32767.
float randomFloat(float lo, float hi) {
  int r = std::rand() % 32768;
  return static_cast<float>(lo + (hi - lo) * (r / 32767.0));
}

int randomInt(int lo, int hi) { return std::rand() % (hi - lo + 1) + lo; }

std::string format(const char* fmt, ...) {
  va_list args;
  va_start(args, fmt);
  va_list copy;
  va_copy(copy, args);
  int length = std::vsnprintf(nullptr, 0, fmt, copy);
  va_end(copy);
  std::string text(length > 0 ? length : 0, '\0');
  if (length > 0) std::vsnprintf(&text[0], text.size() + 1, fmt, args);
  va_end(args);
  return text;
}
