#pragma once

#include <string>

#include "model/GMS.h"
#include "model/HMS.h"

// Readers of the planetarium's chart text, at the fixed columns it has always
// had. A reply's length is the number of characters before its first zero
// byte; position n reads as that zero and every position outside 0..n throws
// std::invalid_argument. A missing key is not an error by itself: the fields
// are then read as if the key began at position -1.

// Value of one character in a digit place: digits, '+' 1, '-' -1, else 0.
int ValorDigito(char c);

// Right ascension after "RA:".
HMS LeerAR(std::string respuesta);
// Declination after "DEC:"; north only for a '+' sign.
GMS LeerDEC(std::string respuesta);
// Site latitude after "LAT:".
GMS LeerLAT(std::string respuesta);
// Site longitude after "LON:", positive west.
GMS LeerLON(std::string respuesta);
// The chart's clock at columns 12-13, 15-16 and 18-19.
HMS LeerHora(std::string respuesta);
// The ten characters at columns 63 to 72, the field of view; the tenth is the
// terminating zero when the reply has exactly 72 characters.
std::string LeerCampo(std::string respuesta);
