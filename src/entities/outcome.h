#pragma once

#include <string>

// The avatar's status and, after a death, the phrase that completes "You %s.".
struct Outcome {
  enum Status { Playing = 0, Dead = 1, Completed = 2 };  // as the simulator's trace shows them
  Status status = Playing;
  std::string reason;
};
