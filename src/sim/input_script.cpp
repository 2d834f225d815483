#include "sim/input_script.h"

#include <allegro5/allegro.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace {

int keyCodeOf(char letter) {
  switch (letter) {
    case 'L':
      return ALLEGRO_KEY_LEFT;
    case 'R':
      return ALLEGRO_KEY_RIGHT;
    case 'U':
      return ALLEGRO_KEY_UP;
    case 'D':
      return ALLEGRO_KEY_DOWN;
    case 'Z':
      return ALLEGRO_KEY_Z;
    case 'X':
      return ALLEGRO_KEY_X;
    default:
      return 0;
  }
}

// One line of a script: these keys held for this many frames.
struct ScriptLine {
  long count = 0;
  std::vector<int> keys;
};

// Parses "COUNT KEYS"; a failure's message says what is wrong with the line.
Result<ScriptLine> parseLine(const std::string& line) {
  std::istringstream fields(line);
  std::string countText, keyText, extra;
  fields >> countText >> keyText >> extra;
  if (keyText.empty() || !extra.empty()) return fail(Failure::Malformed, "expected 'COUNT KEYS'");
  ScriptLine parsed;
  char* end = nullptr;
  parsed.count = std::strtol(countText.c_str(), &end, 10);
  if (*end != '\0' || parsed.count < 0 || parsed.count > INT_MAX)
    return fail(Failure::Malformed, "bad frame count '" + countText + "'");
  if (keyText != "-" && !keyCodesOf(keyText, parsed.keys))
    return fail(Failure::Malformed, "unknown key in '" + keyText + "' (keys are L R U D Z X, or - for none)");
  return parsed;
}

}  // namespace

bool keyCodesOf(const std::string& letters, std::vector<int>& codes) {
  for (char letter : letters) {
    int code = keyCodeOf(letter);
    if (!code) return false;
    codes.push_back(code);
  }
  return true;
}

Result<InputScript> InputScript::read(std::istream& in, const std::string& name) {
  InputScript script;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    size_t start = line.find_first_not_of(" \t\r");
    if (start == std::string::npos || line[start] == '#') continue;
    Result<ScriptLine> parsed = parseLine(line);
    if (parsed.ok() && parsed.value().count > INT_MAX - script.frameCount())
      parsed = fail(Failure::Malformed, "script too long");
    if (!parsed.ok()) {
      Problem malformed = parsed.problem();
      malformed.file = name;
      malformed.line = number;
      return malformed;
    }
    const ScriptLine& run = parsed.value();
    if (run.count == 0) continue;
    script.runEnds_.push_back(script.frameCount() + static_cast<int>(run.count));
    script.runKeys_.push_back(run.keys);
  }
  return script;
}

std::string scriptProblemLine(const Problem& failed) {
  return failed.file + ":" + std::to_string(failed.line) + ": " + failed.message;
}

int InputScript::frameCount() const { return runEnds_.empty() ? 0 : runEnds_.back(); }

const std::vector<int>& InputScript::keysAt(int frame) const {
  static const std::vector<int> none;
  if (frame < 1 || frame > frameCount()) return none;
  size_t run = std::lower_bound(runEnds_.begin(), runEnds_.end(), frame) - runEnds_.begin();
  return runKeys_[run];
}
