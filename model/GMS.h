#pragma once

#include <cstdint>

// A signed angle as the magnitude's whole degrees, minutes and seconds and a
// hemisphere flag: 1 north (positive), anything else south (negative).
struct GMS {
    std::int32_t nGrados = 0;
    std::int32_t nMinutos = 0;
    std::int32_t nSegundos = 0;
    std::uint8_t bNorte = 0;
};
