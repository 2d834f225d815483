#pragma once

#include <string>
#include <vector>

#include "canvas.h"

struct NamedPicture {
  std::string name;
  Canvas picture;
};

// Every picture enlarged, once over the day sky and once over the night sky, one per row,
// for judging the art by eye.
Canvas contactSheet(const std::vector<NamedPicture>& pictures);
