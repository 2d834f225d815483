#pragma once

// The draw layers: the sort key of the "rndr" list, lower drawn first (behind). Entities of one
// layer are drawn in the order in which they entered the world.
namespace DrawLayer {
enum : int {
  NotDrawn = 0,  // entities without the "rndr" tag
  BackClouds = 10,
  Containers = 25,
  Signs = 30,
  Levers = 35,
  Avatar = 40,
  LooseGarbage = Avatar,
  Tiles = 50,
  Bags = Tiles,
  Baddies = 51,
  PressPads = 55,
  Spikes = 60,
  Texts = Spikes,
  ForceFields = 70,
  Particles = 80,
  FrontClouds = 90,
  Widgets = 99,  // buttons and pop-ups, in front of every level object
};
}  // namespace DrawLayer
