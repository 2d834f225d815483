#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/gamepad.h"
#include "app/input_device.h"

// What the player can do once a level has ended, and the keys that do it.
enum class ReportAction { Next, Retry, Leave, WatchRun, KeepProof, WatchWayThrough };
enum class ReportKey { Space, R, Escape, W, K, H };

// The key as the report names it: "SPACE", "R", "ESC", "W", "K", "H".
const char* keyLabel(ReportKey key);
// The pad's button that does what the key does on a report: A, X, B, Y, and Start (which the
// report leaves free otherwise) for H; none for K, which keeps a test play's run from the
// editor, a place of keyboard and mouse.
std::optional<PadButton> padButtonFor(ReportKey key);

struct ReportChoice {
  std::vector<ReportKey> keys;
  ReportAction action;
  std::string effect;  // what the keys do, as the report says it: "retry"

  // "SPACE, R - retry", or with the pad "A, X - retry"
  std::string hint(InputDevice device = InputDevice::Keyboard) const;
};

struct ReportLine {
  std::string left;
  std::string right;
  bool highlighted = false;  // drawn in yellow, without a right column
};

// The panel over a level that has ended: how the run went, and what the player may do next.
struct Report {
  std::vector<ReportLine> lines;
  std::vector<ReportChoice> choices;

  // The action of the first choice that the key makes, if any.
  std::optional<ReportAction> actionFor(ReportKey key) const;
  // The lines, then a blank one, then the choices: each on a line of its own, except those that
  // play on (next, retry), which share the last line's left column, and the one that leaves,
  // which takes its right column.
  std::vector<ReportLine> panelLines(InputDevice device = InputDevice::Keyboard) const;
};
