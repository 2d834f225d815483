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

// Parses "COUNT KEYS" into its count and key codes; returns what is wrong, or "".
std::string parseLine(const std::string& line, long& count, std::vector<int>& keys) {
  std::istringstream fields(line);
  std::string countText, keyText, extra;
  fields >> countText >> keyText >> extra;
  if (keyText.empty() || !extra.empty()) return "expected 'COUNT KEYS'";
  char* end = nullptr;
  count = std::strtol(countText.c_str(), &end, 10);
  if (*end != '\0' || count < 0 || count > INT_MAX) return "bad frame count '" + countText + "'";
  if (keyText == "-") return "";
  if (!keyCodesOf(keyText, keys)) return "unknown key in '" + keyText + "' (keys are L R U D Z X, or - for none)";
  return "";
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
    long count = 0;
    std::vector<int> keys;
    std::string problem = parseLine(line, count, keys);
    if (problem.empty() && count > INT_MAX - script.frameCount()) problem = "script too long";
    if (!problem.empty()) {
      Problem malformed = fail(Failure::Malformed, problem, name);
      malformed.line = number;
      return malformed;
    }
    if (count == 0) continue;
    script.runEnds_.push_back(script.frameCount() + static_cast<int>(count));
    script.runKeys_.push_back(keys);
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
