#pragma once

#include "xm_writer.h"

// The menu and level tune: cheerful, eight channels, about 100 s before it loops.
XmModule dreamlandModule();
// The final screen's tune: a triumphant march, about 58 s before it loops.
XmModule superheroModule();
