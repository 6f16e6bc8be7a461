#pragma once

#include "model/GMS.h"
#include "model/HMS.h"

// What the windows show of a pointing: the right ascension, then the
// declination folded over the poles.
struct PosicionMostrada {
    HMS AR;
    GMS DEC;
};
