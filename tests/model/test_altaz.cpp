#include <gtest/gtest.h>

#include <cmath>

#include "model/Telescopio.h"

namespace {

struct Sitio {
    const char* caso;
    double tiempo, longitud, latitud;
    int difHoraria;
    double ar, dec;
    double altura, azimut;  // exact doubles
    int altGrados, altMin, altSeg, altNorte;
    int azGrados, azMin, azSeg, azNorte;
};

TEST(AltAzDesdeEcuatoriales, MatchesTheWorkedExamples) {
    const Sitio casos[] = {
        {"initial members", 0, 0, 0, 1, 0, 0, 1.8621400397085354e-05, -89.99984057723904, 0, 0, 0,
         1, 89, 59, 59, 0},
        {"on the meridian", 0, 0, 40, 0, 0, 40, 80.00001872397219, 0.0, 80, 0, 0, 1, 0, 0, 0, 0},
        {"two hours west", 60, 0, 40, 0, 30, 20, 51.73010195766787, 60.93879262726116, 51, 43, 48,
         1, 60, 56, 19, 1},
        {"clock equals ar", 10, 0, 40, 0, 10, 45, 85.00001872397216, -0.0, 85, 0, 0, 1, 0, 0, 0, 0},
        {"below the horizon", 180, 0, 40, 0, 0, -30, -70.00001872395228, -0.0001867616480402799, 70,
         0, 0, 0, 0, 0, 0, 0},
    };
    for (const Sitio& c : casos) {
        Telescopio t;
        t.m_dTiempo = c.tiempo;
        t.m_dLongitud = c.longitud;
        t.m_dLatitud = c.latitud;
        t.m_nDifHoraria = c.difHoraria;
        const auto [altura, azimut] = t.AltAzDesdeEcuatoriales(c.ar, c.dec);
        EXPECT_EQ(altura, c.altura) << c.caso;
        EXPECT_EQ(azimut, c.azimut) << c.caso;
        const GMS a = Telescopio::DescomponerPosicion(0, altura).DEC;
        const GMS z = Telescopio::DescomponerPosicion(0, azimut).DEC;
        EXPECT_EQ((a.nGrados * 100 + a.nMinutos) * 100 + a.nSegundos,
                  (c.altGrados * 100 + c.altMin) * 100 + c.altSeg)
            << c.caso;
        EXPECT_EQ(a.bNorte, c.altNorte) << c.caso;
        EXPECT_EQ((z.nGrados * 100 + z.nMinutos) * 100 + z.nSegundos,
                  (c.azGrados * 100 + c.azMin) * 100 + c.azSeg)
            << c.caso;
        EXPECT_EQ(z.bNorte, c.azNorte) << c.caso;
    }
}

TEST(AltAzDesdeEcuatoriales, UsesSixDegreesPerHourOfDifference) {
    // With the hour angle shifted by exactly k degrees through the right
    // ascension, the result is the one of a zero difference.
    for (const int z : {-24, -1, 1, 24}) {
        Telescopio con;
        con.m_nDifHoraria = z;
        Telescopio sin;
        sin.m_nDifHoraria = 0;
        const auto a = con.AltAzDesdeEcuatoriales(-6.0 * z, 20);
        const auto b = sin.AltAzDesdeEcuatoriales(0, 20);
        EXPECT_EQ(a, b) << z;
    }
}

TEST(AltAzDesdeEcuatoriales, ExtremeAltitudeFoldsToJustBelowNinety) {
    const GMS g = Telescopio::DescomponerPosicion(0, 90.00001872397223).DEC;
    EXPECT_EQ(g.nGrados, 89);
    EXPECT_EQ(g.nMinutos, 59);
    EXPECT_EQ(g.nSegundos, 59);
}

TEST(AltAzDesdeEcuatoriales, NotANumberDoesNotFail) {
    Telescopio t;
    t.m_dLatitud = 90;  // the azimuth's quotient becomes 0 / 0 at the pole
    const auto [altura, azimut] = t.AltAzDesdeEcuatoriales(-6.0, 90);
    const PosicionMostrada p = Telescopio::DescomponerPosicion(0, azimut);
    EXPECT_LE(p.DEC.bNorte, 1);
    (void)altura;
}

}  // namespace
