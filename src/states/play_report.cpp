#include "states/play_report.h"

#include <algorithm>

const char* keyLabel(ReportKey key) {
  switch (key) {
    case ReportKey::Space:
      return "SPACE";
    case ReportKey::R:
      return "R";
    case ReportKey::Escape:
      return "ESC";
    case ReportKey::W:
      return "W";
    case ReportKey::K:
      return "K";
    case ReportKey::H:
      return "H";
  }
  return "";
}

std::optional<PadButton> padButtonFor(ReportKey key) {
  switch (key) {
    case ReportKey::Space:
      return PadButton::A;
    case ReportKey::R:
      return PadButton::X;
    case ReportKey::Escape:
      return PadButton::B;
    case ReportKey::W:
      return PadButton::Y;
    case ReportKey::K:
      return std::nullopt;
    case ReportKey::H:
      return PadButton::Start;
  }
  return std::nullopt;
}

std::string ReportChoice::hint(InputDevice device) const {
  std::string keyList;
  for (ReportKey key : keys) {
    std::optional<PadButton> button = padButtonFor(key);
    const char* name = device == InputDevice::Gamepad && button ? padButtonName(*button) : keyLabel(key);
    keyList += (keyList.empty() ? "" : ", ") + std::string(name);
  }
  return keyList + " - " + effect;
}

std::optional<ReportAction> Report::actionFor(ReportKey key) const {
  for (const ReportChoice& choice : choices) {
    if (std::find(choice.keys.begin(), choice.keys.end(), key) != choice.keys.end()) return choice.action;
  }
  return std::nullopt;
}

std::vector<ReportLine> Report::panelLines(InputDevice device) const {
  std::vector<ReportLine> shown = lines;
  shown.push_back({});
  ReportLine last;
  for (const ReportChoice& choice : choices) {
    if (choice.action == ReportAction::Leave) {
      last.right = choice.hint(device);
    } else if (choice.action == ReportAction::Next || choice.action == ReportAction::Retry) {
      last.left += (last.left.empty() ? "" : ", ") + choice.hint(device);
    } else {
      shown.push_back({choice.hint(device), ""});
    }
  }
  shown.push_back(last);
  return shown;
}
