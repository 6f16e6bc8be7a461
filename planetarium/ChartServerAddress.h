#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Where Cartes du Ciel's command server listens.
struct ChartServerAddress {
    std::string host;
    std::uint16_t port = 0;
};

// "host:port", "[v6 address]:port"; nothing when it does not read as one.
std::optional<ChartServerAddress> ParseHostPort(std::string_view text);

// MIVLO_CIEL where set (nothing when it is malformed, rather than a guess);
// else the port Cartes du Ciel wrote to ~/.skychart/tmp/tcpport; else
// 127.0.0.1:3292, the server's default.
std::optional<ChartServerAddress> FindChartServer();
