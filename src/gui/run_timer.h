#pragma once

#include <allegro5/allegro.h>

#include <string>
#include <vector>

#include "app/input_device.h"
#include "world/box.h"

// Lines at the top of the play screen.

// The timer: the elapsed and the target time on a dark backing of its own, white until the
// target time has passed, then silver, the colour of the crown it no longer earns. Both keep
// at least 4.5 : 1 against the backing over any sky.
struct RunTimerLine {
  std::string text;
  bool pastTarget;
  Box place;  // the backing
};
constexpr ALLEGRO_COLOR kRunTimerWhite = {1.0f, 1.0f, 1.0f, 1.0f};
constexpr ALLEGRO_COLOR kRunTimerSilver = {0.78f, 0.82f, 0.88f, 1.0f};
constexpr ALLEGRO_COLOR kRunTimerBacking = {0.0f, 0.0f, 0.0f, 0.8f};

// The timer sits at the top in the middle, or, where a panel, a sign's text or the level's
// banner covers that (`covered`), at the bottom, or else in the bottom left corner.
RunTimerLine runTimerLine(double elapsed, double target, const std::vector<Box>& covered);
void drawRunTimer(const RunTimerLine& line);
// A watched replay: "REPLAY", its time, its speed and the keys (or the pad's buttons) that
// steer it.
std::string replayMarkText(double elapsed, int speed, InputDevice device);
void drawReplayMark(const std::string& text);
