#include <gtest/gtest.h>

#include "model/Telescopio.h"

namespace {

// Feeds one whole serial-mouse packet.
void Paquete(Telescopio& t, int b0, int b1, int b2) {
    t.ProcesarByte(b0);
    t.ProcesarByte(b1);
    t.ProcesarByte(b2);
}

TEST(Telescopio, StartsAtTheDefaults) {
    const Telescopio t;
    EXPECT_EQ(t.m_dAR, 0.0);
    EXPECT_EQ(t.m_dDEC, 0.0);
    EXPECT_EQ(t.m_nDifHoraria, 1);
    EXPECT_EQ(t.m_nDientesMontura, 144);
    EXPECT_EQ(t.m_nDientesEncoder, 55);
    EXPECT_FALSE(t.m_bConectado);
    EXPECT_EQ(t.m_nPuertoActual, 0);
}

TEST(Telescopio, OneCountTurnsTheAxisByTheGearing) {
    Telescopio t;
    Paquete(t, 0x40, 0x01, 0x00);  // X = +1
    EXPECT_EQ(t.m_dAR, 0.045454545454545456);
    EXPECT_EQ(t.m_dDEC, 0.0);
    Paquete(t, 0x43, 0x3F, 0x00);  // X = -1
    EXPECT_EQ(t.m_dAR, 0.0);
}

TEST(Telescopio, FiftyFiveCountsOfYAreTwoAndAHalfDegrees) {
    Telescopio t;
    Paquete(t, 0x40, 0x00, 55);
    EXPECT_EQ(t.m_dDEC, 2.5);
}

TEST(Telescopio, DeclinationIsARunningSumNeverReduced) {
    Telescopio t;
    t.m_dDEC = 94.0;
    Paquete(t, 0x40, 0x00, 22);  // +1 degree
    EXPECT_EQ(t.m_dDEC, 95.0);
}

TEST(Telescopio, OnlyTheByteThatClosesAPacketMoves) {
    Telescopio t;
    t.ProcesarByte(0x40);
    t.ProcesarByte(0x01);
    EXPECT_EQ(t.m_dAR, 0.0);
    t.ProcesarByte(0x00);
    EXPECT_EQ(t.m_dAR, 0.045454545454545456);
}

TEST(Telescopio, ScalesWithTheTeethSet) {
    Telescopio t;
    t.m_nDientesMontura = 1;
    t.m_nDientesEncoder = 1;
    Paquete(t, 0x4C, 0x02, 0x3F);  // X = 2, Y = -1
    EXPECT_EQ(t.m_dAR, 720.0);
    EXPECT_EQ(t.m_dDEC, -360.0);
}

TEST(Telescopio, SkyTimeAdvancesAHairBelowOneSecondPerTick) {
    Telescopio t;
    t.AvanzarAR(1000);
    EXPECT_EQ(t.m_dAR, 0.0041666666666660005);
    for (int i = 1; i < 240; ++i) t.AvanzarAR(1000);
    EXPECT_EQ(t.m_dAR, 0.9999999999998379);
    EXPECT_EQ(t.m_dDEC, 0.0);
}

TEST(Telescopio, TheNthTickShowsNMinusOneSeconds) {
    Telescopio t;
    for (int n = 1; n <= 86400; ++n) {
        t.AvanzarAR(1000);
        const PosicionMostrada p = Telescopio::DescomponerPosicion(t.m_dAR, t.m_dDEC);
        const int segundos = p.AR.nHoras * 3600 + p.AR.nMinutos * 60 + p.AR.nSegundos;
        ASSERT_EQ(segundos, n - 1) << "tick " << n;
    }
}

TEST(CalcularCorreccion, KeepsItsTwoBrackets) {
    const double arPolaris = Telescopio::GradosDesdeHMS(2, 31, 48);
    const double decPolaris = Telescopio::GradosDesdeGMS(89, 15, 51, 1);
    const struct {
        const char* caso;
        double to[2], ro[2], td[2], rd[2];
        double cAR, cDEC;
    } casos[] = {
        {"nothing accepted", {arPolaris, decPolaris}, {0, 0}, {0, 0}, {0, 0}, -37.95, 0.0},
        {"destination off by one",
         {arPolaris, decPolaris},
         {0, 0},
         {100, 20},
         {101, 21},
         61.05,
         -1.0},
        {"real origin ignored",
         {arPolaris, decPolaris},
         {123, -45},
         {100, 20},
         {101, 21},
         61.05,
         -1.0},
        {"destination at origin", {10, 20}, {0, 0}, {10, 20}, {11, 21}, -1.0, -1.0},
    };
    for (const auto& c : casos) {
        const auto [cAR, cDEC] = Telescopio::CalcularCorreccion(c.to[0], c.to[1], c.ro[0], c.ro[1],
                                                                c.td[0], c.td[1], c.rd[0], c.rd[1]);
        EXPECT_EQ(cAR, c.cAR) << c.caso;
        EXPECT_EQ(cDEC, c.cDEC) << c.caso;
    }
}

}  // namespace
