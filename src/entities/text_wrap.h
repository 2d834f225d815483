#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// How wide a text is drawn, in pixels.
using TextWidth = std::function<double(const std::string& text)>;

// Breaks a text into lines no wider than `width`: at spaces, and inside a word only where the
// word alone is wider than a line (never inside a UTF-8 character). An empty text is one empty
// line. With `mostLines`, the last line allowed holds the rest of the text unbroken (a panel
// shows no more lines than its screen holds, so a sign of a megabyte costs no more than a page).
// The time taken grows linearly with the text, and no more than with what the lines hold.
std::vector<std::string> wrapText(const std::string& text, double width, const TextWidth& widthOf,
                                  size_t mostLines = static_cast<size_t>(-1));
