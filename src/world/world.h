#pragma once

#include <map>
#include <memory>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "world/entity.h"
#include "world/tag.h"

class PlayContext;

// The entities of a tag list seen as the class whose own tag it is (T::kTag: the tag only T and
// its subclasses are given), in list order.
template <typename T>
class EntitiesOf {
 public:
  class Iterator {
   public:
    explicit Iterator(std::vector<Entity*>::const_iterator at) : at_(at) {}
    T& operator*() const { return static_cast<T&>(**at_); }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    bool operator!=(const Iterator& other) const { return at_ != other.at_; }

   private:
    std::vector<Entity*>::const_iterator at_;
  };

  explicit EntitiesOf(const std::vector<Entity*>& list) : list_(list) {}
  Iterator begin() const { return Iterator(list_.begin()); }
  Iterator end() const { return Iterator(list_.end()); }
  bool empty() const { return list_.empty(); }
  size_t size() const { return list_.size(); }

 private:
  const std::vector<Entity*>& list_;
};

// All entities of a level or a menu, filed by tag. The world makes and owns them; additions and
// removals wait for flush, so lists never change while they are walked. An entity removed is
// deleted at the next flush; those still in the world when it is destroyed are deleted in the
// order they were added.
class World {
 public:
  World() = default;
  ~World();
  World(const World&) = delete;
  World& operator=(const World&) = delete;

  // Makes an entity of type T in this world; it enters the lists at the next flush.
  template <typename T, typename... Args>
  T& add(Args&&... args) {
    auto made = std::make_unique<T>(std::forward<Args>(args)...);
    T& entity = *made;
    adopt(std::move(made));
    return entity;
  }
  // Takes an entity made elsewhere (a level file's record, a sign's panel).
  Entity& adopt(std::unique_ptr<Entity> entity);
  void remove(Entity* e);
  void flush();
  // One frame of the level: every "dyna" entity updated in list order, then the flush, so an
  // entity added meanwhile is first updated in the next frame and one killed is still updated
  // when its turn comes.
  void update(double dt);
  // Draws the "rndr" list, back to front.
  void draw();

  std::vector<Entity*>& byTag(int tag);
  // The entities of class T (in the list of T's own tag), and the first of them or null.
  template <typename T>
  EntitiesOf<T> all() {
    return EntitiesOf<T>(byTag(T::kTag));
  }
  template <typename T>
  T* first() {
    const std::vector<Entity*>& list = byTag(T::kTag);
    return list.empty() ? nullptr : static_cast<T*>(list.front());
  }

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
  void retire(const std::vector<Entity*>& removals, const std::unordered_set<Entity*>& removed);

  std::vector<std::unique_ptr<Entity>> owned_;  // every entity, in the order added
  std::map<int, std::vector<Entity*>> byTag_;
  std::vector<Entity*> pendingAdditions_;
  std::vector<Entity*> pendingRemovals_;
  std::unordered_set<Entity*> pendingRemovalSet_;  // the same entities, to find one at once
  std::vector<RemovalListener*> removalListeners_;
};

float randomFloat(float lo, float hi);
int randomInt(int lo, int hi);
std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
