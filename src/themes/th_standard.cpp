#include "themes/th_standard.h"

const char* ThStandard::name() const { return "Sky"; }
