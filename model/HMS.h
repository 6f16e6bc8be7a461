#pragma once

#include <cstdint>

// A right ascension or a clock time in whole hours, minutes and seconds.
struct HMS {
    std::int32_t nHoras = 0;
    std::int32_t nMinutos = 0;
    std::int32_t nSegundos = 0;
};
