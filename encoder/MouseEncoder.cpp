#include "encoder/MouseEncoder.h"

namespace {

constexpr std::uint8_t kPrimerByte = 0x40;

// An 8-bit two's-complement count.
std::int32_t ConSigno(int valor) {
    return valor > 127 ? valor - 256 : valor;
}

}  // namespace

void MouseEncoder::TomarByte(std::uint8_t byte) {
    m_nMovX = 0;
    m_nMovY = 0;
    if ((byte & kPrimerByte) != 0) {
        m_Paquete[0] = byte;
        m_nIndice = 1;
        return;
    }
    if (m_nIndice == 0) return;  // a stray byte between packets
    m_Paquete[static_cast<std::size_t>(m_nIndice)] = byte;
    m_nIndice = m_nIndice + 1;
    if (m_nIndice == 3) {
        m_nIndice = 0;
        Decodificar();
    }
}

void MouseEncoder::Decodificar() {
    const int b0 = m_Paquete[0];
    const int b1 = m_Paquete[1];
    const int b2 = m_Paquete[2];
    m_nMovX = ConSigno(((b0 & 0x03) << 6) + (b1 & 0x3F));
    m_nMovY = ConSigno(((b0 & 0x0C) << 4) + (b2 & 0x3F));
}
