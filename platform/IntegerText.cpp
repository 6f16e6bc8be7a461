#include "platform/IntegerText.h"

#include <limits>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

struct Prefix {
    std::optional<std::int32_t> value;  // empty: no digits, or beyond 32 bits
    std::size_t end = 0;                // where the reading stopped
};

// Blanks, a sign and a run of digits from the start of text.
Prefix ReadPrefix(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negativo = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativo = text[i++] == '-';
    const std::size_t primero = i;
    std::int64_t valor = 0;
    bool cabe = true;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        valor = valor * 10 + (text[i] - '0');
        if (valor > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) {
            cabe = false;
            valor = 0;  // keep reading the digits, the result is refused anyway
        }
    }
    if (i == primero || !cabe) return {std::nullopt, i};
    const std::int64_t firmado = negativo ? -valor : valor;
    if (firmado > std::numeric_limits<std::int32_t>::max()) return {std::nullopt, i};
    return {static_cast<std::int32_t>(firmado), i};
}

}  // namespace

std::int32_t ReadItemInteger(std::string_view text) {
    const Prefix p = ReadPrefix(text);
    if (!p.value || p.end != text.size()) return 0;
    return *p.value;
}

std::optional<std::int32_t> ReadFieldInteger(std::string_view text) {
    return ReadPrefix(text.substr(0, 63)).value;
}
