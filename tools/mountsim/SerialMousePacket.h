#pragma once

#include <array>
#include <cstdint>

// The three bytes of a Microsoft serial mouse packet reporting a movement of
// dx and dy counts (each -128 to 127), no buttons pressed.
std::array<std::uint8_t, 3> EncodeMousePacket(int dx, int dy);
