// Any text typed or pasted into a box reads as the same number as a plain
// reference reading of blanks, a sign and decimal digits gives.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz/Require.h"
#include "platform/IntegerText.h"

namespace {

struct Reference {
    std::optional<std::int32_t> value;
    bool wholeText = false;
};

// Leading blanks, then an optional sign and digits read by from_chars, which
// refuses values beyond 32 bits by itself.
Reference ReadReference(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\n\r\v\f");
    if (start == std::string_view::npos) return {};
    std::string number(text.substr(start));
    const bool plus = number.front() == '+';
    if (plus) number.erase(0, 1);
    const std::size_t digits = !plus && !number.empty() && number.front() == '-' ? 1 : 0;
    if (number.size() <= digits || number[digits] < '0' || number[digits] > '9') return {};
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error != std::errc()) return {};
    return {value, end == number.data() + number.size()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const Reference item = ReadReference(text);
    const std::int32_t expected = item.value && item.wholeText ? *item.value : 0;
    Require(ReadItemInteger(text) == expected, "a box reads as its whole signed number, else 0");

    Require(ReadFieldInteger(text) == ReadReference(text.substr(0, 63)).value,
            "a field reads as the number at the start of its first 63 characters");
    return 0;
}
