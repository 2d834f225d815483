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
  }
  return "";
}

std::string ReportChoice::hint() const {
  std::string keyList;
  for (ReportKey key : keys) keyList += (keyList.empty() ? "" : ", ") + std::string(keyLabel(key));
  return keyList + " - " + effect;
}

std::optional<ReportAction> Report::actionFor(ReportKey key) const {
  for (const ReportChoice& choice : choices) {
    if (std::find(choice.keys.begin(), choice.keys.end(), key) != choice.keys.end()) return choice.action;
  }
  return std::nullopt;
}

std::vector<ReportLine> Report::panelLines() const {
  std::vector<ReportLine> shown = lines;
  shown.push_back({});
  ReportLine last;
  for (const ReportChoice& choice : choices) {
    if (choice.action == ReportAction::Leave) {
      last.right = choice.hint();
    } else if (choice.action == ReportAction::Next || choice.action == ReportAction::Retry) {
      last.left += (last.left.empty() ? "" : ", ") + choice.hint();
    } else {
      shown.push_back({choice.hint(), ""});
    }
  }
  shown.push_back(last);
  return shown;
}
