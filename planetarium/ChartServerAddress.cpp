#include "planetarium/ChartServerAddress.h"

#include <charconv>
#include <cstdlib>
#include <fstream>

namespace {

constexpr std::uint16_t kDefaultPort = 3292;
const char* const kLoopback = "127.0.0.1";

std::optional<std::uint16_t> ParsePort(std::string_view text) {
    std::uint16_t port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (error != std::errc() || end != text.data() + text.size() || port == 0) {
        return std::nullopt;
    }
    return port;
}

std::optional<std::uint16_t> PortWrittenByCartesDuCiel() {
    const char* home = std::getenv("HOME");
    if (home == nullptr) {
        return std::nullopt;
    }
    std::ifstream file(std::string(home) + "/.skychart/tmp/tcpport");
    std::string text;
    if (!(file >> text)) {
        return std::nullopt;
    }
    return ParsePort(text);
}

}  // namespace

std::optional<ChartServerAddress> ParseHostPort(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view host = text.substr(0, colon);
    if (host.size() >= 2 && host.front() == '[' && host.back() == ']') {
        host = host.substr(1, host.size() - 2);
    }
    const auto port = ParsePort(text.substr(colon + 1));
    if (host.empty() || !port) {
        return std::nullopt;
    }
    return ChartServerAddress{std::string(host), *port};
}

std::optional<ChartServerAddress> FindChartServer() {
    if (const char* configured = std::getenv("MIVLO_CIEL")) {
        return ParseHostPort(configured);
    }
    return ChartServerAddress{kLoopback, PortWrittenByCartesDuCiel().value_or(kDefaultPort)};
}
