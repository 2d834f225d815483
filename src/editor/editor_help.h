#pragma once

#include "entities/pop_up.h"

// Every key and mouse action of the editor, a line each, as its help overlay lists them.
void addHelpLines(PopUp& help);
