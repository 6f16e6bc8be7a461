#pragma once

#include <string>

#include "model/PosicionMostrada.h"

// The "MOVE RA: " text poked to the planetarium so that its chart follows the
// telescope, in Windows-1252 (the degree sign is the byte 0xB0). With
// `recibir` the field of view is taken from this tick's reply through
// LeerCampo, which may throw std::invalid_argument; otherwise it is a fixed
// 90 degrees. The text stops at its first zero byte and never exceeds the 55
// characters that the command buffer holds.
std::string BuildPointingCommand(const PosicionMostrada& p, bool recibir,
                                 const std::string& respuesta);
