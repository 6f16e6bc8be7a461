#include <gtest/gtest.h>

#include <vector>

#include "encoder/MouseEncoder.h"

namespace {

struct Movimiento {
    int x;
    int y;
    bool operator==(const Movimiento&) const = default;
};

// What each byte of the stream reports.
std::vector<Movimiento> Reportes(MouseEncoder& e, const std::vector<int>& bytes) {
    std::vector<Movimiento> r;
    for (const int b : bytes) {
        e.TomarByte(static_cast<std::uint8_t>(b));
        r.push_back({e.m_nMovX, e.m_nMovY});
    }
    return r;
}

TEST(MouseEncoder, DecodesEachPacketOnItsThirdByte) {
    const struct {
        int b0, b1, b2;
        int x, y;
    } paquetes[] = {
        {0x40, 0x01, 0x00, 1, 0},    {0x43, 0x3F, 0x00, -1, 0},   {0x4C, 0x00, 0x3F, 0, -1},
        {0x41, 0x3F, 0x00, 127, 0},  {0x42, 0x00, 0x00, -128, 0}, {0x44, 0x00, 0x00, 0, 64},
        {0x48, 0x00, 0x00, 0, -128}, {0x70, 0x00, 0x00, 0, 0},    {0x4F, 0x3F, 0x3F, -1, -1},
    };
    for (const auto& p : paquetes) {
        MouseEncoder e;
        const auto r = Reportes(e, {p.b0, p.b1, p.b2});
        const std::vector<Movimiento> esperado{{0, 0}, {0, 0}, {p.x, p.y}};
        EXPECT_EQ(r, esperado) << std::hex << p.b0 << " " << p.b1 << " " << p.b2;
        EXPECT_EQ(e.m_nIndice, 0);
    }
}

TEST(MouseEncoder, CountsEveryPacketOnce) {
    MouseEncoder e;
    int total = 0;
    for (int i = 0; i < 5; ++i) {
        for (const auto& m : Reportes(e, {0x40, 0x01, 0x00})) total += m.x;
    }
    EXPECT_EQ(total, 5);
}

TEST(MouseEncoder, CleanStreamFillsTheSlotsInTurn) {
    MouseEncoder e;
    Reportes(e, {0x40, 0x01, 0x02, 0x44});
    EXPECT_EQ(e.m_Paquete[0], 0x44);  // the fourth byte ever received
    EXPECT_EQ(e.m_Paquete[1], 0x01);
    EXPECT_EQ(e.m_nIndice, 1);
}

TEST(MouseEncoder, ResynchronisesOnTheFirstByteMark) {
    const struct {
        const char* caso;
        std::vector<int> bytes;
        int totalX;
    } casos[] = {
        // The identification byte 'M' before the first packet.
        {"identification byte", {0x4D, 0x40, 0x02, 0x00, 0x40, 0x03, 0x00}, 5},
        // A packet that lost its third byte is dropped; the next one counts.
        {"dropped byte", {0x40, 0x05, 0x40, 0x02, 0x00}, 2},
        // A fourth byte per packet, as some mice send, is ignored.
        {"extra byte", {0x40, 0x01, 0x00, 0x00, 0x40, 0x01, 0x00, 0x20}, 2},
        // Stray bytes with no packet start move nothing.
        {"stray bytes", {0x01, 0x3F, 0x40, 0x01, 0x00}, 1},
    };
    for (const auto& c : casos) {
        MouseEncoder e;
        int total = 0;
        for (const auto& m : Reportes(e, c.bytes)) total += m.x;
        EXPECT_EQ(total, c.totalX) << c.caso;
    }
}

TEST(MouseEncoder, KeepsItsPlaceAcrossReconnections) {
    MouseEncoder e;
    e.TomarByte(0x40);
    EXPECT_EQ(e.m_nIndice, 1);
    // Nothing resets the decoder when the port is reconnected: the next byte
    // is taken as the packet's second.
    const auto r = Reportes(e, {0x07, 0x00});
    EXPECT_EQ(r.back(), (Movimiento{7, 0}));
}

}  // namespace
