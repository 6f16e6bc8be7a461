#include "planetarium/ChartServerProtocol.h"

#include <algorithm>
#include <regex>

namespace {

// The server's fields are a few dozen characters. The regular expressions
// recurse once per character, so a longer payload would exhaust the stack.
constexpr std::size_t kLongestField = 1024;

// A signed angle as the server writes it, e.g. +12d04m09s; groups: sign,
// degrees, minutes, whole seconds, fraction of seconds.
const std::string kAngle = R"(([+-]?)(\d{1,3})d(\d{1,2})m(\d{1,2})(?:\.(\d+))?s)";

// Whole numbers in the classic columns have two digits at least; zeros beyond
// two in front are dropped so the columns stay where the readers expect them.
std::string TwoDigits(std::string digits) {
    while (digits.size() > 2 && digits.front() == '0') {
        digits.erase(0, 1);
    }
    return std::string(2 - std::min<std::size_t>(2, digits.size()), '0') + digits;
}

std::string FractionDigits(std::string digits, std::size_t count) {
    digits.resize(count, '0');
    return digits;
}

std::string Sign(const std::ssub_match& sign) {
    return sign.length() == 0 ? "+" : sign.str();
}

std::optional<std::smatch> MatchWhole(const std::string& text, const std::regex& pattern) {
    std::smatch match;
    if (text.size() > kLongestField || !std::regex_match(text, match, pattern)) {
        return std::nullopt;
    }
    return match;
}

// Line 1: RA: 05h03m07.00s DEC:+12°04'09.0" FOV:+90°00'00"
std::optional<std::string> CentreLine(const ChartReplies& replies) {
    static const std::regex ra(R"((\d{1,2})h(\d{1,2})m(\d{1,2})(?:\.(\d+))?s)");
    static const std::regex dec(R"(([+-]?)(\d{1,2})d(\d{1,2})m(\d{1,2})(?:\.(\d+))?s)");
    static const std::regex fov(kAngle);
    const auto r = MatchWhole(replies.ra, ra);
    const auto d = MatchWhole(replies.dec, dec);
    const auto f = MatchWhole(replies.fov, fov);
    if (!r || !d || !f) {
        return std::nullopt;
    }
    return "RA: " + TwoDigits((*r)[1]) + "h" + TwoDigits((*r)[2]) + "m" + TwoDigits((*r)[3]) + "." +
           FractionDigits((*r)[4], 2) + "s DEC:" + Sign((*d)[1]) + TwoDigits((*d)[2]) + "\xB0" +
           TwoDigits((*d)[3]) + "'" + TwoDigits((*d)[4]) + "." + FractionDigits((*d)[5], 1) +
           "\" FOV:" + Sign((*f)[1]) + TwoDigits((*f)[2]) + "\xB0" + TwoDigits((*f)[3]) + "'" +
           TwoDigits((*f)[4]) + "\"";
}

std::string SiteAngle(const std::smatch& m, std::size_t first) {
    return Sign(m[first]) + TwoDigits(m[first + 1]) + "d" + TwoDigits(m[first + 2]) + "m" +
           TwoDigits(m[first + 3]) + "s";
}

// Line 4: LAT:+43d37m00s LON:-01d27m00s ALT:200m OBS:Toulouse
std::optional<std::string> SiteLine(const std::string& obs) {
    static const std::regex site("LAT:" + kAngle + R"(\s*LON:)" + kAngle +
                                 R"(\s*(?:ALT:(.*?)\s*)?(?:OBS:(.*))?)");
    const auto s = MatchWhole(obs, site);
    if (!s) {
        return std::nullopt;
    }
    return "LAT:" + SiteAngle(*s, 1) + " LON:" + SiteAngle(*s, 6) + " ALT:" + (*s)[11].str() +
           " OBS:" + (*s)[12].str();
}

// Line 0: 22/12/2001  23:50:58 and three blanks, 23 characters.
std::optional<std::string> ClockLine(const std::string& date) {
    static const std::regex clock(R"((\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):(\d{2})(?:\.\d+)?)");
    const auto c = MatchWhole(date, clock);
    if (!c) {
        return std::nullopt;
    }
    return (*c)[3].str() + "/" + (*c)[2].str() + "/" + (*c)[1].str() + "  " + (*c)[4].str() + ":" +
           (*c)[5].str() + ":" + (*c)[6].str() + "   ";
}

std::string PrintableAscii(std::string text) {
    for (char& c : text) {
        if (c < 0x20 || c > 0x7E) {
            c = '?';
        }
    }
    return text;
}

// "+90°00'00" with or without its closing quote, as the chart's ten columns
// may cut it; nothing when it is not degrees, minutes and seconds.
std::optional<std::string> ServerFieldOfView(const std::string& piece) {
    static const std::regex fov(R"re(([+-]?\d+)\xB0(\d+)'(\d+)"?)re");
    const auto f = MatchWhole(piece, fov);
    if (!f) {
        return std::nullopt;
    }
    return " FOV:" + (*f)[1].str() + "d" + (*f)[2].str() + "m" + (*f)[3].str() + "s";
}

}  // namespace

std::optional<std::string> OkPayload(std::string_view replyLine) {
    if (!replyLine.starts_with("OK!")) {
        return std::nullopt;
    }
    replyLine.remove_prefix(3);
    const std::size_t first = replyLine.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return std::string();
    }
    const std::size_t last = replyLine.find_last_not_of(" \t\r");
    return std::string(replyLine.substr(first, last - first + 1));
}

std::optional<std::string> ComposeChartText(const ChartReplies& replies) {
    const auto clock = ClockLine(replies.date);
    const auto centre = CentreLine(replies);
    const auto site = SiteLine(replies.obs);
    if (!clock || !centre || !site) {
        return std::nullopt;
    }
    return *clock + "\r\n" + *centre + "\r\n.\r\n" + replies.date + "\r\n" + *site;
}

std::string ToServerCommand(std::string_view poke) {
    const std::string text(poke.substr(0, poke.find_first_of(std::string_view("\0\r\n", 3))));
    static const std::regex move(
        R"re(MOVE RA: (\d+h\d+m\d+(?:\.\d+)?s) DEC:([+-]?\d+)\xB0(\d+)'(\d+(?:\.\d+)?)" FOV:(.*))re");
    const auto m = MatchWhole(text, move);
    if (!m) {
        return PrintableAscii(text);
    }
    return PrintableAscii("MOVE RA:" + (*m)[1].str() + " DEC:" + (*m)[2].str() + "d" +
                          (*m)[3].str() + "m" + (*m)[4].str() + "s" +
                          ServerFieldOfView((*m)[5]).value_or(""));
}
