#include "tools/mountsim/SerialMousePacket.h"

std::array<std::uint8_t, 3> EncodeMousePacket(int dx, int dy) {
    const auto x = static_cast<std::uint8_t>(dx);  // two's complement, 8 bits
    const auto y = static_cast<std::uint8_t>(dy);
    return {static_cast<std::uint8_t>(0x40 | ((y >> 6) << 2) | (x >> 6)),
            static_cast<std::uint8_t>(x & 0x3F), static_cast<std::uint8_t>(y & 0x3F)};
}
