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
constexpr bool kText = true;         // the record ends in a text
constexpr bool kNoText = false;
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
  for (int channel = 0; channel < kChannelCount; ++channel) digits.push_back({char('0' + channel), channel});
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

// Row fields: code, name, parameters, text, grid symbols; class, make, fields, label, palette,
// trace.
LevelKinds buildKinds() {
  return {
      {"tl",
       "tile",
       {kChannel},
       kNoText,
       channelDigits(),
       &typeid(Tile),
       [](const RecordFields& f) -> Entity* { return new Tile(f.values[0], nullptr, 0, 0); },
       [](const Entity& e) {
         return RecordFields{{as<Tile>(e).channel}, ""};
       },
       [](const RecordFields& f) { return format("tile(%d)", f.values[0]); },
       {{{0}, ""}},
       nullptr},
      {"ms",
       "message",
       {},
       kText,
       {},
       &typeid(Message),
       [](const RecordFields& f) -> Entity* { return new Message(f.text); },
       [](const Entity& e) {
         return RecordFields{{}, as<Message>(e).text};
       },
       [](const RecordFields&) { return std::string("message"); },
       {{{}, kPaletteMessage}},
       nullptr},
      {"gb",
       "bag",
       {},
       kNoText,
       {{'b', GridSymbol::kNoValue}},
       &typeid(Bag),
       [](const RecordFields&) -> Entity* { return new Bag(); },
       noFields,
       [](const RecordFields&) { return std::string("garbage"); },
       {{}},
       [](const Entity& e) { return carryableTrace(as<Bag>(e)); }},
      {"lg",
       "loose garbage",
       {},
       kNoText,
       {{'*', GridSymbol::kNoValue}},
       &typeid(Garbage),
       [](const RecordFields&) -> Entity* { return new Garbage(); },
       noFields,
       [](const RecordFields&) { return std::string("loose garbage"); },
       {{}},
       positionOnly},
      {"sp",
       "spikes",
       {},
       kNoText,
       {{'^', GridSymbol::kNoValue}},
       &typeid(Spikes),
       [](const RecordFields&) -> Entity* { return new Spikes(); },
       noFields,
       [](const RecordFields&) { return std::string("spikes"); },
       {{}},
       nullptr},
      {"ff",
       "force field",
       {{Param::Flag, "direction", "vertical", "horizontal"}},
       kNoText,
       {{'-', 0}, {'|', 1}},
       &typeid(ForceField),
       [](const RecordFields& f) -> Entity* { return new ForceField(f.values[0] != 0); },
       [](const Entity& e) {
         return RecordFields{{as<ForceField>(e).vertical}, ""};
       },
       [](const RecordFields& f) { return format("forcefield(%s)", f.values[0] ? "v" : "h"); },
       {{{0}, ""}, {{1}, ""}},
       nullptr},
      {"av",
       "avatar",
       {},
       kNoText,
       {{'A', GridSymbol::kNoValue}},
       &typeid(Avatar),
       [](const RecordFields&) -> Entity* { return new Avatar(); },
       noFields,
       [](const RecordFields&) { return std::string("avatar"); },
       {{}},
       [](const Entity& e) {
         const Avatar& avatar = as<Avatar>(e);
         return format("%d %.17g %.17g %d %d", avatar.state, avatar.vx, avatar.vy, avatar.outcome().status,
                       avatar.carried ? 1 : 0);
       }},
      {"bd",
       "baddie",
       {{Param::Flag, "temper", "feral", "tame"}},
       kNoText,
       {{'t', 0}, {'f', 1}},
       &typeid(Baddie),
       [](const RecordFields& f) -> Entity* { return new Baddie(f.values[0] != 0); },
       [](const Entity& e) {
         return RecordFields{{as<Baddie>(e).feral}, ""};
       },
       [](const RecordFields& f) { return format("baddie(%s)", f.values[0] ? "feral" : "tame"); },
       {{{0}, ""}, {{1}, ""}},
       [](const Entity& e) {
         const Baddie& baddie = as<Baddie>(e);
         return carryableTrace(baddie) + format(" %d", baddie.walkingRight ? 1 : 0);
       }},
      {"ct",
       "container",
       {{Param::Number, "count"}},
       kNoText,
       {},
       &typeid(Container),
       [](const RecordFields& f) -> Entity* { return new Container(0, 0, f.values[0]); },
       [](const Entity& e) {
         return RecordFields{{as<Container>(e).remaining}, ""};
       },
       [](const RecordFields& f) { return format("container(%d)", f.values[0]); },
       containerChoices(),
       [](const Entity& e) { return format("%d", as<Container>(e).remaining); }},
      {"vr",
       "lever",
       {kChannel, {Param::Flag, "state", "on", "off"}},
       kNoText,
       {},
       &typeid(Lever),
       [](const RecordFields& f) -> Entity* { return new Lever(f.values[0], f.values[1] != 0); },
       [](const Entity& e) {
         return RecordFields{{as<Lever>(e).channel, as<Lever>(e).on}, ""};
       },
       [](const RecordFields& f) { return format("lever(%d,%s)", f.values[0], onOff(f.values[1])); },
       switchChoices(),
       [](const Entity& e) { return format("%d", as<Lever>(e).on ? 1 : 0); }},
      {"pr",
       "press pad",
       {kChannel, {Param::Flag, "resting state", "on", "off"}},
       kNoText,
       {},
       &typeid(PressPad),
       [](const RecordFields& f) -> Entity* { return new PressPad(f.values[0], f.values[1] != 0); },
       [](const Entity& e) {
         return RecordFields{{as<PressPad>(e).channel, as<PressPad>(e).restingOn}, ""};
       },
       [](const RecordFields& f) { return format("presspad(%d,%s)", f.values[0], onOff(f.values[1])); },
       switchChoices(),
       [](const Entity& e) { return format("%d", as<PressPad>(e).pressed ? 1 : 0); }},
      {"fw",
       "fireworks",
       {},
       kNoText,
       {{'F', GridSymbol::kNoValue}},
       &typeid(Fireworks),
       [](const RecordFields&) -> Entity* { return new Fireworks(); },
       noFields,
       [](const RecordFields&) { return std::string("fireworks"); },
       {{}},
       nullptr},
  };
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
