#include "editor/editor_help.h"

namespace {

// Every key and mouse action, as the help overlay lists them.
const char* const kHelpLines[][2] = {
    {"Left button", "place the chosen object (drag to paint)"},
    {"Right button", "erase (drag to erase)"},
    {"Z / X / wheel", "previous / next object"},
    {"Tab", "every object with its picture: click one to choose it"},
    {"0 - 9", "switch channel for tiles, levers and press pads"},
    {"Enter", "edit the text of the sign under the mouse"},
    {"S or Ctrl+S", "save"},
    {"L", "load the file again"},
    {"Ctrl+N", "a new level"},
    {"Ctrl+O", "open a level (of any campaign too)"},
    {"Ctrl+Shift+S", "save as another file"},
    {"C", "save into a campaign, as its next level or another"},
    {"P", "test-play (Escape comes back; P pauses it)"},
    {"Ctrl+Z", "undo"},
    {"Ctrl+Y / Ctrl+Shift+Z", "redo"},
    {"G", "show or hide the grid"},
    {"F1 / H", "show or hide this help"},
    {"Escape or closing the window", "leave the editor (asks first)"},
};

}  // namespace

void addHelpLines(PopUp& help) {
  for (const auto& line : kHelpLines) help.addLine(line[0], line[1]);
}
