#pragma once

#include <cstdint>

// The serial port driver's notifications to its owner (wParam: the byte for
// WM_COMM_RXCHAR, else 0; lParam: the port number).
inline constexpr unsigned WM_COMM_BREAK = 0x0401;
inline constexpr unsigned WM_COMM_CTS = 0x0402;
inline constexpr unsigned WM_COMM_ERR = 0x0404;
inline constexpr unsigned WM_COMM_RING = 0x0405;
inline constexpr unsigned WM_COMM_RXCHAR = 0x0407;
inline constexpr unsigned WM_COMM_RXFLAG = 0x0408;

// The event classes of a port's event mask.
inline constexpr std::uint32_t EV_RXCHAR = 0x0001;
inline constexpr std::uint32_t EV_RXFLAG = 0x0002;
inline constexpr std::uint32_t EV_TXEMPTY = 0x0004;
inline constexpr std::uint32_t EV_CTS = 0x0008;
inline constexpr std::uint32_t EV_DSR = 0x0010;
inline constexpr std::uint32_t EV_RLSD = 0x0020;
inline constexpr std::uint32_t EV_BREAK = 0x0040;
inline constexpr std::uint32_t EV_ERR = 0x0080;
inline constexpr std::uint32_t EV_RING = 0x0100;
inline constexpr std::uint32_t EV_PERR = 0x0200;
inline constexpr std::uint32_t EV_RX80FULL = 0x0400;
inline constexpr std::uint32_t EV_EVENT1 = 0x0800;
inline constexpr std::uint32_t EV_EVENT2 = 0x1000;
// Every bit an event mask may hold.
inline constexpr std::uint32_t EV_ALL = 0x1FFF;
