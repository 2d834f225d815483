#pragma once

#include <functional>
#include <string>
#include <vector>

// How wide a text is drawn, in pixels.
using TextWidth = std::function<double(const std::string& text)>;

// Breaks a text into lines no wider than `width`: at spaces, and inside a word only where the
// word alone is wider than a line (never inside a UTF-8 character). An empty text is one empty
// line.
std::vector<std::string> wrapText(const std::string& text, double width, const TextWidth& widthOf);
