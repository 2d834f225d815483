#include "world/entity.h"

#include <algorithm>
#include <cassert>

#include "world/play_context.h"
#include "world/tag.h"
#include "world/world.h"

TagList::TagList(std::initializer_list<int> tags) : count_(std::min(tags.size(), kMostTags)) {
  assert(tags.size() <= kMostTags);
  std::copy_n(tags.begin(), count_, tags_.begin());
}

void Entity::kill() { world->remove(this); }

PlayContext& Entity::playContext() const { return *world->context; }

int Entity::order(int tag) const { return tag == tagOf("rndr") ? drawLayer_ : 0; }

void Entity::update(double) {}
