#pragma once

#include <cstdint>

// Notifications of the serial port driver to its owner.
inline constexpr unsigned WM_COMM_BREAK = 0x0401;
inline constexpr unsigned WM_COMM_CTS = 0x0402;
inline constexpr unsigned WM_COMM_ERR = 0x0404;
inline constexpr unsigned WM_COMM_RING = 0x0405;
inline constexpr unsigned WM_COMM_RXCHAR = 0x0407;
inline constexpr unsigned WM_COMM_RXFLAG = 0x0408;
