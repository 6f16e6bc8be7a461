#pragma once

#include <string>

// The chart text of Cartes du Ciel's documented example (centre 5h03m07s,
// +12°04'09", Toulouse), in the classic layout, Windows-1252.
inline const std::string kToulouseText =
    "22/12/2001  23:50:58   \r\n"
    "RA: 05h03m07.00s DEC:+12\xB0"
    "04'09.0\" FOV:+90\xB0"
    "00'00\"\r\n"
    ".\r\n"
    "2001-12-22T23:50:58\r\n"
    "LAT:+43d37m00s LON:-01d27m00s ALT:200m OBS:Toulouse";
