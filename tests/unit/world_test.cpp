#include "world/world.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "unit/test_support.h"

namespace {

// A drawn, updated entity that logs its updates and its deletion, and can run a scripted
// action during its update (add or kill others, as entities do in play).
class Probe : public Entity {
 public:
  Probe(std::string probeName, std::vector<std::string>& sharedLog, int order = 50)
      : Probe(std::move(probeName), sharedLog, order, {tagOf("entt"), tagOf("rndr"), tagOf("dyna")}) {}
  Probe(std::string probeName, std::vector<std::string>& sharedLog, int order, const TagList& tags)
      : Entity(tags, order), name(std::move(probeName)), log(sharedLog), drawOrder(order) {}
  ~Probe() override { log.push_back("delete " + name); }

  // Its sort key under every tag, and one a test may change after the entity was filed.
  int order(int) const override { return drawOrder; }
  void update(double) override {
    log.push_back("update " + name);
    if (action) action();
  }

  std::string name;
  std::vector<std::string>& log;
  int drawOrder;
  std::function<void()> action;
};

using Log = std::vector<std::string>;

Log names(World& world, const char (&tag)[5]) {
  Log result;
  for (Entity* e : world.byTag(tagOf(tag))) result.push_back(static_cast<Probe*>(e)->name);
  return result;
}

// An entity added during the update walk is drawn that frame and updated the next; one removed
// during the walk is still updated when its turn comes, then deleted at the flush.
TEST(World, FlushTakesRemovalsAndAdditionsAfterTheWalk) {
  Log log;
  World world;
  Probe& a = world.add<Probe>("a", log);
  Probe& b = world.add<Probe>("b", log);
  world.flush();
  a.action = [&] {
    world.add<Probe>("new", log);
    b.kill();
    a.action = nullptr;
  };
  world.update(0.017);
  EXPECT_EQ(log, (Log{"update a", "update b", "delete b"}));
  EXPECT_EQ(names(world, "rndr"), (Log{"a", "new"})) << "in the draw list after the flush";
  EXPECT_EQ(names(world, "entt"), (Log{"a", "new"}));
  log.clear();
  world.update(0.017);
  EXPECT_EQ(log, (Log{"update a", "update new"}));
}

// Draw order is ascending. One flush that both removes and adds: the survivors keep their
// places, newcomers go behind their equals, lists other than rndr and entt keep insertion
// order, and an entity whose sort key changed since is put back in place.
TEST(World, FlushWithRemovalsAndAdditionsKeepsEveryOrder) {
  Log log;
  World world;
  std::vector<Probe*> old;
  for (int key : {50, 80, 50, 10, 80, 10}) {
    old.push_back(&world.add<Probe>("p" + std::to_string(old.size()), log, key));
  }
  world.flush();
  old[1]->kill();
  old[3]->kill();
  int n = 0;
  for (int key : {10, 80, 50, 10}) world.add<Probe>("n" + std::to_string(n++), log, key);
  world.flush();
  EXPECT_EQ(names(world, "rndr"), (Log{"p5", "n0", "n3", "p0", "p2", "n2", "p4", "n1"}));
  EXPECT_EQ(names(world, "dyna"), (Log{"p0", "p2", "p4", "p5", "n0", "n1", "n2", "n3"}));
  old[4]->drawOrder = 0;
  world.add<Probe>("last", log, 80);
  world.flush();
  EXPECT_EQ(names(world, "rndr"), (Log{"p4", "p5", "n0", "n3", "p0", "p2", "n2", "n1", "last"}));
}

// A probe filed under a tag of its own, for the typed lookups.
class Marked : public Probe {
 public:
  static constexpr int kTag = tagOf("mark");
  Marked(std::string probeName, Log& sharedLog)
      : Probe(std::move(probeName), sharedLog, 50, {tagOf("entt"), tagOf("rndr"), tagOf("dyna"), kTag}) {}
};

// Removed entities are deleted at the flush in the order of their removal; the rest, added
// or still waiting, go with the world in the order they were added, whatever their addresses.
// The typed lookups see only the entities of their class, in list order.
TEST(World, OwnsItsEntitiesAndFindsThemByClass) {
  Log log;
  {
    World world;
    for (const char* name : {"a", "b", "c", "d"}) world.add<Probe>(name, log);
    Marked& first = world.add<Marked>("m1", log);
    world.add<Marked>("m2", log);
    EXPECT_EQ(world.first<Marked>(), nullptr) << "before the flush";
    world.flush();
    EXPECT_EQ(world.first<Marked>(), &first);
    Log marked;
    for (Marked& found : world.all<Marked>()) marked.push_back(found.name);
    EXPECT_EQ(marked, (Log{"m1", "m2"}));
    world.byTag(tagOf("entt"))[2]->kill();
    world.byTag(tagOf("entt"))[0]->kill();
    world.add<Probe>("waiting", log);
    world.flush();
    EXPECT_EQ(log, (Log{"delete c", "delete a"}));
    world.add<Probe>("pending", log);
    log.clear();
  }
  EXPECT_EQ(log, (Log{"delete b", "delete d", "delete m1", "delete m2", "delete waiting", "delete pending"}));
}

}  // namespace
