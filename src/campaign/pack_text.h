#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "app/utf8.h"

// A campaign's pack.txt: plain UTF-8 written by hand, one "key = value" a line.
//   # a comment line; blank lines are skipped
//   name = Loose Change                 (required)
//   author = Someone                    (optional)
//   description = One line about it.    (optional)
//   level 1 = 21.5 Loose Ends           (level N = TARGET NAME; every level 1..N once)
// TARGET is a decimal number of seconds (digits, optionally a point and more digits) above 0
// and below 1000; NAME is the rest of the line and may be empty. A line holding a mistake is
// reported and left out; the others are kept.

constexpr size_t kPackFileBytes = 16384;
constexpr size_t kPackLineBytes = 256;  // without the line break
constexpr int kMaximumLevels = 24;      // the menu's grid holds 24 level buttons
constexpr size_t kPackNameCharacters = 24;
constexpr size_t kAuthorCharacters = 48;
constexpr size_t kDescriptionCharacters = 120;
constexpr size_t kLevelNameCharacters = 32;
constexpr double kLongestTarget = 1000.0;  // s, excluded

struct PackLevel {
  int number;     // 1 to kMaximumLevels
  double target;  // s
  std::string name;
  int line;
};

// One mistake; line 0 for a mistake of the whole file (a missing key or level).
struct PackProblem {
  int line;
  std::string message;
};

struct PackText {
  std::string name;
  std::string author;
  std::string description;
  std::vector<PackLevel> levels;  // in the order of the file
  std::vector<PackProblem> problems;

  // The level listed under this number, or null.
  const PackLevel* level(int number) const;
  // The highest level number listed, 0 when none is.
  int highestLevel() const;
};

PackText parsePackText(const std::string& bytes);
