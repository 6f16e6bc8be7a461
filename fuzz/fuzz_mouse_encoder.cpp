// Any byte stream from the serial line: counts stay in range, only a
// packet's last byte moves anything, and a well-formed packet after any
// amount of noise is decoded exactly.
#include <cstddef>
#include <cstdint>

#include "encoder/MouseEncoder.h"
#include "fuzz/Require.h"

namespace {

constexpr std::uint8_t kFirstByte = 0x40;

bool InRange(std::int32_t count) {
    return count >= -128 && count <= 127;
}

// A packet whose counts are x and y as 8-bit two's complement.
void FeedPacket(MouseEncoder& encoder, std::uint8_t x, std::uint8_t y) {
    const auto first = static_cast<std::uint8_t>(kFirstByte | ((y >> 6) << 2) | (x >> 6));
    encoder.TomarByte(first);
    Require(encoder.m_nMovX == 0 && encoder.m_nMovY == 0, "first byte of a packet moves nothing");
    encoder.TomarByte(x & 0x3F);
    Require(encoder.m_nMovX == 0 && encoder.m_nMovY == 0, "second byte of a packet moves nothing");
    encoder.TomarByte(y & 0x3F);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    MouseEncoder encoder;
    for (std::size_t i = 0; i < size; ++i) {
        encoder.TomarByte(data[i]);
        Require(InRange(encoder.m_nMovX) && InRange(encoder.m_nMovY), "counts within 8 bits");
        Require(encoder.m_nIndice >= 0 && encoder.m_nIndice <= 2, "position within a packet");
        if ((data[i] & kFirstByte) != 0) {
            Require(encoder.m_nMovX == 0 && encoder.m_nMovY == 0, "a first byte moves nothing");
        }
    }

    // Whatever came before, the next whole packet counts exactly once.
    const std::uint8_t x = size > 0 ? data[0] : 0;
    const std::uint8_t y = size > 1 ? data[size - 1] : 0;
    FeedPacket(encoder, x, y);
    Require(encoder.m_nMovX == static_cast<std::int8_t>(x), "X of a packet after noise");
    Require(encoder.m_nMovY == static_cast<std::int8_t>(y), "Y of a packet after noise");
    return 0;
}
