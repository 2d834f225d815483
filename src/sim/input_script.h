#pragma once

#include <istream>
#include <string>
#include <vector>

#include "app/result.h"

// The keys held in each frame of a simulated run, read from lines "COUNT KEYS": COUNT frames in
// a row with KEYS held, KEYS being letters of L R U D Z X (the arrows, Z and X) or "-" for none.
// Blank lines and lines starting with "#" are ignored; frames past the script hold no keys.
class InputScript {
 public:
  // A malformed line is a problem (Failure::Malformed) whose file is `name`, with its line.
  static Result<InputScript> read(std::istream& in, const std::string& name);

  int frameCount() const;
  // Library key codes held in frame n, counted from 1.
  const std::vector<int>& keysAt(int frame) const;

 private:
  // One entry per line: the last frame of its run (counted from 1) and the keys it holds.
  std::vector<int> runEnds_;
  std::vector<std::vector<int>> runKeys_;
};

// A script's problem as it is told: "<name>:<line>: <what is wrong>".
std::string scriptProblemLine(const Problem& failed);

// The library key codes of letters from "LRUDZX", in the order given; false on any other letter.
bool keyCodesOf(const std::string& letters, std::vector<int>& codes);
