#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// How the dialogs read numbers out of their boxes. Both are pure functions so
// that any text a user can type or paste is handled the same everywhere.

// A box read as a signed integer: optional blanks, an optional sign and
// digits up to the end. Empty text, anything else, or a value beyond 32 bits
// reads as 0.
std::int32_t ReadItemInteger(std::string_view text);

// A field read by the data exchange: of the first 63 characters, leading
// blanks, an optional sign and the digits up to the first other character
// ("12abc" reads 12). No digit at all, or a value beyond 32 bits, is not an
// integer.
std::optional<std::int32_t> ReadFieldInteger(std::string_view text);
