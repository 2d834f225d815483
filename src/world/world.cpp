#include "world/world.h"

#include <algorithm>
#include <cstdarg>
#include <cstdlib>
#include <set>
#include <unordered_map>
#include <utility>

#include "app/blend.h"

namespace {

// The order one stable sort of the whole list by the tag's sort key would give. The first
// `sorted` entities are in order already (unless a key changed since; then the whole list is
// sorted), so only the newcomers behind them are sorted and merged in, after their equals.
void sortByOrder(std::vector<Entity*>& list, size_t sorted, int tag) {
  using Keyed = std::pair<int, Entity*>;
  std::vector<Keyed> keyed;
  keyed.reserve(list.size());
  for (Entity* e : list) keyed.emplace_back(e->order(tag), e);
  auto byKey = [](const Keyed& a, const Keyed& b) { return a.first < b.first; };
  auto newcomers = keyed.begin() + static_cast<std::ptrdiff_t>(sorted);
  if (std::is_sorted(keyed.begin(), newcomers, byKey)) {
    std::stable_sort(newcomers, keyed.end(), byKey);
    std::inplace_merge(keyed.begin(), newcomers, keyed.end(), byKey);
  } else {
    std::stable_sort(keyed.begin(), keyed.end(), byKey);
  }
  for (size_t i = 0; i < list.size(); ++i) list[i] = keyed[i].second;
}

}  // namespace

// Listeners are entities of this world; they must not hear of their neighbours' deletion now.
World::~World() {
  removalListeners_.clear();
  for (std::unique_ptr<Entity>& entity : owned_) entity.reset();
}

std::vector<Entity*>& World::byTag(int tag) { return byTag_[tag]; }

Entity& World::adopt(std::unique_ptr<Entity> entity) {
  owned_.push_back(std::move(entity));
  Entity& adopted = *owned_.back();
  pendingAdditions_.push_back(&adopted);
  return adopted;
}

void World::draw() {
  if (!drawingsMayBeRegrouped()) {
    for (Entity* e : byTag(tagOf("rndr"))) e->draw();
    return;
  }
  std::vector<Entity*> run;
  auto drawRun = [&run] {
    if (!run.empty()) run.front()->runDrawer()(run);
    run.clear();
  };
  for (Entity* e : byTag(tagOf("rndr"))) {
    Entity::RunDrawer drawer = e->runDrawer();
    if (!run.empty() && run.front()->runDrawer() != drawer) drawRun();
    if (drawer) {
      run.push_back(e);
    } else {
      e->draw();
    }
  }
  drawRun();
}

void World::update(double dt) {
  std::vector<Entity*>& dynamic = byTag(tagOf("dyna"));
  for (size_t i = 0; i < dynamic.size(); ++i) dynamic[i]->update(dt);
  flush();
}

// Removing twice before a flush, or removing an entity still waiting to be added, must not
// lead to a double delete or to a deleted entity entering the lists (flush drops it).
void World::remove(Entity* e) {
  if (pendingRemovalSet_.insert(e).second) pendingRemovals_.push_back(e);
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

// Linear in the number of entities: each touched list is filtered in one pass and only its
// newcomers are sorted, so a frame that retires thousands of sparks stays cheap.
void World::flush() {
  std::vector<Entity*> removals;
  removals.swap(pendingRemovals_);
  std::unordered_set<Entity*> removed;
  removed.swap(pendingRemovalSet_);
  std::vector<Entity*> additions;
  additions.swap(pendingAdditions_);
  additions.erase(std::remove_if(additions.begin(), additions.end(), [&](Entity* e) { return removed.count(e); }),
                  additions.end());
  std::set<int> touched;
  for (Entity* e : removals) {
    for (int tag : e->tags()) touched.insert(tag);
  }
  for (int tag : touched) {
    std::vector<Entity*>& list = byTag(tag);
    list.erase(std::remove_if(list.begin(), list.end(), [&](Entity* e) { return removed.count(e); }), list.end());
  }
  retire(removals, removed);
  std::map<int, size_t> sortedLength;
  for (int tag : {tagOf("rndr"), tagOf("entt")}) sortedLength[tag] = byTag(tag).size();
  for (Entity* e : additions) {
    for (int tag : e->tags()) {
      touched.insert(tag);
      byTag(tag).push_back(e);
    }
    e->world = this;
  }
  for (int tag : {tagOf("rndr"), tagOf("entt")}) {
    if (touched.count(tag)) sortByOrder(byTag(tag), sortedLength[tag], tag);
  }
}

// In the order of removal, the listeners hear of each entity, then it is deleted.
void World::retire(const std::vector<Entity*>& removals, const std::unordered_set<Entity*>& removed) {
  if (removals.empty()) return;
  std::unordered_map<Entity*, std::unique_ptr<Entity>> doomed;
  for (std::unique_ptr<Entity>& entity : owned_) {
    if (removed.count(entity.get())) {
      Entity* e = entity.get();
      doomed.emplace(e, std::move(entity));
    }
  }
  owned_.erase(std::remove(owned_.begin(), owned_.end(), nullptr), owned_.end());
  for (Entity* e : removals) {
    removeRemovalListener(dynamic_cast<RemovalListener*>(e));
    for (size_t i = 0; i < removalListeners_.size(); ++i) removalListeners_[i]->entityRemoved(e);
    doomed.erase(e);
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
