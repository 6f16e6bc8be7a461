#pragma once

#include <optional>
#include <string>
#include <string_view>

// Translation between the DDE item "DdeData" of the link and Cartes du Ciel's
// TCP command server, whose replies are "OK! <payload>" lines.

// The payloads of GETRA, GETDEC, GETFOV, GETDATE and GETOBS, "OK! " removed.
struct ChartReplies {
    std::string ra;    // 05h03m07s
    std::string dec;   // +12d04m09s
    std::string fov;   // +90d00m00s
    std::string date;  // 2001-12-22T23:50:58, the chart's local clock
    std::string obs;   // LAT:+43d37m00sLON:-01d27m00sALT:200mOBS:Toulouse
};

// The payload of an "OK!" reply line; nothing for any other reply.
std::optional<std::string> OkPayload(std::string_view replyLine);

// The chart text in the classic layout whose fixed columns the chart readers
// use (Windows-1252, lines joined by CR LF); nothing when a payload does not
// read as its field or is longer than any field (1024 characters).
std::optional<std::string> ComposeChartText(const ChartReplies& replies);

// The server command line for a poked text, without its line end: a
// "MOVE RA: " pointing of up to 1024 characters in the server's own syntax,
// anything else as it stands. The text ends at its first zero, CR or LF, so
// one poke is one command, and every byte outside printable ASCII is sent
// as '?'.
std::string ToServerCommand(std::string_view poke);
