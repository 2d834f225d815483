#include "entities/prototypes.h"

#include "entities/avatar.h"
#include "entities/baddie.h"
#include "entities/bag.h"
#include "entities/container.h"
#include "entities/fireworks.h"
#include "entities/force_field.h"
#include "entities/garbage.h"
#include "entities/lever.h"
#include "entities/message.h"
#include "entities/press_pad.h"
#include "entities/spikes.h"
#include "world/channel_states.h"
#include "world/tile.h"

namespace {

constexpr int kPaletteChannels = 5;  // channels the palette offers for levers and press pads
constexpr int kPaletteMostBags = 5;  // the palette's containers need 1 to 5 bags
const char* const kPaletteMessage = "Test message.";

const ParamSpec kChannel{Param::Channel, "channel"};

// The table calls a kind's functions only with entities of that kind's class.
template <class T>
const T& as(const Entity& entity) {
  return static_cast<const T&>(entity);
}

const char* onOff(int value) { return value ? "on" : "off"; }

RecordFields noFields(const Entity&) { return {}; }
std::string positionOnly(const Entity&) { return ""; }

std::vector<GridSymbol> channelDigits() {
  std::vector<GridSymbol> digits;
  for (int channel = 0; channel < kChannelCount; ++channel) {
    digits.push_back({char('0' + channel), channel, "tile of that channel"});
  }
  return digits;
}

// Each offered channel off, then on.
std::vector<RecordFields> switchChoices() {
  std::vector<RecordFields> choices;
  for (int channel = 0; channel < kPaletteChannels; ++channel) {
    choices.push_back({{channel, 0}, ""});
    choices.push_back({{channel, 1}, ""});
  }
  return choices;
}

std::vector<RecordFields> containerChoices() {
  std::vector<RecordFields> choices;
  for (int bags = 1; bags <= kPaletteMostBags; ++bags) choices.push_back({{bags}, ""});
  return choices;
}

std::string carryableTrace(const Carryable& carryable) {
  return format("%d %.17g %.17g", carryable.carryState, carryable.vx, carryable.vy);
}

// A kind whose records hold nothing but the position, made by T's default constructor.
template <class T>
LevelKind plainKind() {
  LevelKind kind;
  kind.type = &typeid(T);
  kind.make = [](const RecordFields&) -> std::unique_ptr<Entity> { return std::make_unique<T>(); };
  kind.fields = noFields;
  return kind;
}

LevelKind tileKind() {
  LevelKind kind;
  kind.code = "tl";
  kind.name = "tile";
  kind.params = {kChannel};
  kind.symbols = channelDigits();
  kind.type = &typeid(Tile);
  kind.make = [](const RecordFields& f) -> std::unique_ptr<Entity> {
    return std::make_unique<Tile>(f.values[0], nullptr, 0, 0);
  };
  kind.fields = [](const Entity& e) { return RecordFields{{as<Tile>(e).channel}, ""}; };
  kind.label = [](const RecordFields& f) { return format("tile(%d)", f.values[0]); };
  kind.palette = {{{0}, ""}};
  return kind;
}

LevelKind messageKind() {
  LevelKind kind;
  kind.code = "ms";
  kind.name = "message";
  kind.text = true;
  kind.type = &typeid(Message);
  kind.make = [](const RecordFields& f) -> std::unique_ptr<Entity> { return std::make_unique<Message>(f.text); };
  kind.fields = [](const Entity& e) { return RecordFields{{}, as<Message>(e).text}; };
  kind.label = [](const RecordFields&) { return std::string("message"); };
  kind.palette = {{{}, kPaletteMessage}};
  return kind;
}

LevelKind bagKind() {
  LevelKind kind = plainKind<Bag>();
  kind.code = "gb";
  kind.name = "bag";
  kind.symbols = {{'b', GridSymbol::kNoValue, "bag"}};
  kind.label = [](const RecordFields&) { return std::string("garbage"); };
  kind.trace = [](const Entity& e) { return carryableTrace(as<Bag>(e)); };
  return kind;
}

LevelKind looseGarbageKind() {
  LevelKind kind = plainKind<Garbage>();
  kind.code = "lg";
  kind.name = "loose garbage";
  kind.symbols = {{'*', GridSymbol::kNoValue, "loose garbage"}};
  kind.label = [](const RecordFields&) { return std::string("loose garbage"); };
  kind.trace = positionOnly;
  return kind;
}

LevelKind spikesKind() {
  LevelKind kind = plainKind<Spikes>();
  kind.code = "sp";
  kind.name = "spikes";
  kind.symbols = {{'^', GridSymbol::kNoValue, "spikes"}};
  kind.label = [](const RecordFields&) { return std::string("spikes"); };
  return kind;
}

LevelKind forceFieldKind() {
  LevelKind kind;
  kind.code = "ff";
  kind.name = "force field";
  kind.params = {{Param::Flag, "direction", "vertical", "horizontal"}};
  kind.symbols = {{'-', 0, "horizontal force field"}, {'|', 1, "vertical force field"}};
  kind.type = &typeid(ForceField);
  kind.make = [](const RecordFields& f) -> std::unique_ptr<Entity> {
    return std::make_unique<ForceField>(f.values[0] != 0);
  };
  kind.fields = [](const Entity& e) { return RecordFields{{as<ForceField>(e).vertical}, ""}; };
  kind.label = [](const RecordFields& f) { return format("forcefield(%s)", f.values[0] ? "v" : "h"); };
  kind.palette = {{{0}, ""}, {{1}, ""}};
  return kind;
}

LevelKind avatarKind() {
  LevelKind kind = plainKind<Avatar>();
  kind.code = "av";
  kind.name = "avatar";
  kind.symbols = {{'A', GridSymbol::kNoValue, "avatar"}};
  kind.label = [](const RecordFields&) { return std::string("avatar"); };
  kind.trace = [](const Entity& e) {
    const Avatar& avatar = as<Avatar>(e);
    return format("%d %.17g %.17g %d %d", avatar.state, avatar.vx, avatar.vy, avatar.outcome().status,
                  avatar.carried ? 1 : 0);
  };
  return kind;
}

LevelKind baddieKind() {
  LevelKind kind;
  kind.code = "bd";
  kind.name = "baddie";
  kind.params = {{Param::Flag, "temper", "feral", "tame"}};
  kind.symbols = {{'t', 0, "tame baddie"}, {'f', 1, "feral baddie"}};
  kind.type = &typeid(Baddie);
  kind.make = [](const RecordFields& f) -> std::unique_ptr<Entity> {
    return std::make_unique<Baddie>(f.values[0] != 0);
  };
  kind.fields = [](const Entity& e) { return RecordFields{{as<Baddie>(e).feral}, ""}; };
  kind.label = [](const RecordFields& f) { return format("baddie(%s)", f.values[0] ? "feral" : "tame"); };
  kind.palette = {{{0}, ""}, {{1}, ""}};
  kind.trace = [](const Entity& e) {
    const Baddie& baddie = as<Baddie>(e);
    return carryableTrace(baddie) + format(" %d", baddie.walkingRight ? 1 : 0);
  };
  return kind;
}

LevelKind containerKind() {
  LevelKind kind;
  kind.code = "ct";
  kind.name = "container";
  kind.params = {{Param::Number, "count"}};
  kind.type = &typeid(Container);
  kind.make = [](const RecordFields& f) -> std::unique_ptr<Entity> {
    return std::make_unique<Container>(0, 0, f.values[0]);
  };
  kind.fields = [](const Entity& e) { return RecordFields{{as<Container>(e).remaining}, ""}; };
  kind.label = [](const RecordFields& f) { return format("container(%d)", f.values[0]); };
  kind.palette = containerChoices();
  kind.trace = [](const Entity& e) { return format("%d", as<Container>(e).remaining); };
  return kind;
}

LevelKind leverKind() {
  LevelKind kind;
  kind.code = "vr";
  kind.name = "lever";
  kind.params = {kChannel, {Param::Flag, "state", "on", "off"}};
  kind.type = &typeid(Lever);
  kind.make = [](const RecordFields& f) -> std::unique_ptr<Entity> {
    return std::make_unique<Lever>(f.values[0], f.values[1] != 0);
  };
  kind.fields = [](const Entity& e) { return RecordFields{{as<Lever>(e).channel, as<Lever>(e).on}, ""}; };
  kind.label = [](const RecordFields& f) { return format("lever(%d,%s)", f.values[0], onOff(f.values[1])); };
  kind.palette = switchChoices();
  kind.trace = [](const Entity& e) { return format("%d", as<Lever>(e).on ? 1 : 0); };
  return kind;
}

LevelKind pressPadKind() {
  LevelKind kind;
  kind.code = "pr";
  kind.name = "press pad";
  kind.params = {kChannel, {Param::Flag, "resting state", "on", "off"}};
  kind.type = &typeid(PressPad);
  kind.make = [](const RecordFields& f) -> std::unique_ptr<Entity> {
    return std::make_unique<PressPad>(f.values[0], f.values[1] != 0);
  };
  kind.fields = [](const Entity& e) { return RecordFields{{as<PressPad>(e).channel, as<PressPad>(e).restingOn}, ""}; };
  kind.label = [](const RecordFields& f) { return format("presspad(%d,%s)", f.values[0], onOff(f.values[1])); };
  kind.palette = switchChoices();
  kind.trace = [](const Entity& e) { return format("%d", as<PressPad>(e).pressed ? 1 : 0); };
  return kind;
}

LevelKind fireworksKind() {
  LevelKind kind = plainKind<Fireworks>();
  kind.code = "fw";
  kind.name = "fireworks";
  kind.symbols = {{'F', GridSymbol::kNoValue, "fireworks"}};
  kind.label = [](const RecordFields&) { return std::string("fireworks"); };
  return kind;
}

// In the order of the editor's palette.
LevelKinds buildKinds() {
  return {tileKind(),   messageKind(), bagKind(),       looseGarbageKind(), spikesKind(),   forceFieldKind(),
          avatarKind(), baddieKind(),  containerKind(), leverKind(),        pressPadKind(), fireworksKind()};
}

}  // namespace

const LevelKinds& levelKinds() {
  static const LevelKinds kinds = buildKinds();
  return kinds;
}

std::string editorLabel(const Entity& entity) {
  const LevelKind* kind = kindOf(levelKinds(), entity);
  return kind ? kind->label(kind->fields(entity)) : "";
}

void loadLevel(const char* path, World& world) {
  LevelFileResult loaded = readLevel(path, world);
  if (!loaded.ok()) reportLoadFailure(loaded);
}

LevelFileResult readLevel(const char* path, World& world) { return readLevel(levelKinds(), path, world); }

LevelFileResult writeLevel(const char* path, World& world) { return writeLevel(levelKinds(), path, world); }
