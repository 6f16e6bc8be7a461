#pragma once

#include <array>
#include <cstdint>

// Turns the byte stream of a Microsoft serial mouse into X and Y movement
// counts. The mount's axes drive the mouse's counters, so every count matters:
// each packet is counted exactly once, and the stream is framed on the bit
// that marks a packet's first byte so that a lost or extra byte (the "M" a
// mouse sends when RTS comes on, a fourth byte of some mice) costs at most
// the packet it falls in.
class MouseEncoder {
  public:
    // Takes one received byte. On return m_nMovX and m_nMovY hold the
    // movement it reports: the packet's counts on the byte that completes a
    // packet, 0 and 0 on every other byte.
    void TomarByte(std::uint8_t byte);

    std::array<std::uint8_t, 3> m_Paquete{};
    // Position in the packet that the next byte takes (0, 1 or 2). It is kept
    // across reconnections of the port.
    int m_nIndice = 0;
    std::int32_t m_nMovX = 0;
    std::int32_t m_nMovY = 0;

  private:
    void Decodificar();
};
