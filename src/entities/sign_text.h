#pragma once

#include <optional>
#include <string>

// A sign names a play key by a placeholder, "[jump]", so that it shows the key the player plays
// by now instead of a key that may have been rebound.

// What a placeholder's name stands for: the key now bound to the play key of that name ("left",
// "right", "up", "down", "jump", "action", in any letter case), named as the Options screen
// names it, or, while the pad was used last, the pad's way to it ("stick left", "A"); nothing
// for a name that is no play key.
std::optional<std::string> placeholderText(const std::string& name);

// The text as the sign shows it: every "[name]" that placeholderText knows replaced, any other
// bracket left as written.
std::string signText(const std::string& text);
