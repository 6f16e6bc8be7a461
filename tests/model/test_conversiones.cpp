#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/Telescopio.h"
#include "model/TruncateToInt32.h"

namespace {

TEST(GradosDesde, BuildsDegreesFromPartsBitForBit) {
    EXPECT_EQ(Telescopio::GradosDesdeHMS(2, 31, 48), 37.95);
    EXPECT_EQ(Telescopio::GradosDesdeHMS(12, 30, 30), 187.625);
    EXPECT_EQ(Telescopio::GradosDesdeGMS(89, 15, 51, 1), 89.26416666666667);
    EXPECT_EQ(Telescopio::GradosDesdeGMS(-10, 30, 0, 1), -9.5);
}

TEST(GradosDesde, OnlyOneMeansNorth) {
    EXPECT_EQ(Telescopio::GradosDesdeGMS(10, 30, 0, 0), -10.5);
    EXPECT_EQ(Telescopio::GradosDesdeGMS(10, 30, 0, 2), -10.5);
    EXPECT_EQ(Telescopio::GradosDesdeGMS(10, 30, 0, 255), -10.5);
}

struct Descomposicion {
    const char* nombre;
    double ar;
    double dec;
    int horas, minutos, segundos;
    int grados, decMinutos, decSegundos;
    int norte;
};

class DescomponerPosicionTest : public ::testing::TestWithParam<Descomposicion> {};

TEST_P(DescomponerPosicionTest, ShowsTruncatedPartsFoldedOverThePoles) {
    const Descomposicion& c = GetParam();
    const PosicionMostrada p = Telescopio::DescomponerPosicion(c.ar, c.dec);
    EXPECT_EQ(p.AR.nHoras, c.horas);
    EXPECT_EQ(p.AR.nMinutos, c.minutos);
    EXPECT_EQ(p.AR.nSegundos, c.segundos);
    EXPECT_EQ(p.DEC.nGrados, c.grados);
    EXPECT_EQ(p.DEC.nMinutos, c.decMinutos);
    EXPECT_EQ(p.DEC.nSegundos, c.decSegundos);
    EXPECT_EQ(p.DEC.bNorte, c.norte);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DescomponerPosicionTest,
    ::testing::Values(Descomposicion{"Polaris", 37.95, 89.26416666666667, 2, 31, 48, 89, 15, 51, 1},
                      Descomposicion{"SecondsTruncatedAfterRounding", 187.625, 0.5, 12, 30, 29, 0,
                                     30, 0, 1},
                      Descomposicion{"AlmostNinety", 0, 89.99972222222222, 0, 0, 0, 89, 59, 58, 1},
                      Descomposicion{"ZeroIsSouth", 0, 0, 0, 0, 0, 0, 0, 0, 0},
                      Descomposicion{"TinyPositiveIsNorth", 0, 1e-12, 0, 0, 0, 0, 0, 0, 1},
                      Descomposicion{"Pole", 0, 90, 0, 0, 0, 90, 0, 0, 1},
                      Descomposicion{"JustPastPole", 10, 90.5, 12, 40, 0, 89, 30, 0, 1},
                      // One row for each band of the reduced angle.
                      Descomposicion{"Band0To90", 0, 45, 0, 0, 0, 45, 0, 0, 1},
                      Descomposicion{"Band90To180", 0, 135, 12, 0, 0, 45, 0, 0, 1},
                      Descomposicion{"Band180To270", 0, 225, 0, 0, 0, 45, 0, 0, 0},
                      Descomposicion{"Band270To360", 0, 315, 12, 0, 0, 45, 0, 0, 0},
                      Descomposicion{"BandMinus90To0", 0, -45, 0, 0, 0, 45, 0, 0, 0},
                      Descomposicion{"BandMinus180ToMinus90", 0, -135, 12, 0, 0, 45, 0, 0, 0},
                      Descomposicion{"BandMinus270ToMinus180", 0, -225, 0, 0, 0, 45, 0, 0, 1},
                      Descomposicion{"BandMinus360ToMinus270", 0, -315, 12, 0, 0, 45, 0, 0, 1},
                      Descomposicion{"Plus180", 0, 180, 0, 0, 0, 0, 0, 0, 0},
                      Descomposicion{"Minus180", 0, -180, 0, 0, 0, 0, 0, 0, 1},
                      Descomposicion{"Plus200", 0, 200, 0, 0, 0, 20, 0, 0, 0},
                      Descomposicion{"Plus300", 0, 300, 12, 0, 0, 60, 0, 0, 0},
                      Descomposicion{"Plus270", 0, 270, 0, 0, 0, 90, 0, 0, 0},
                      Descomposicion{"Minus270", 0, -270, 0, 0, 0, 90, 0, 0, 1},
                      Descomposicion{"Minus100", 0, -100, 12, 0, 0, 80, 0, 0, 0},
                      Descomposicion{"Minus200", 0, -200, 0, 0, 0, 20, 0, 0, 1},
                      Descomposicion{"NegativeRightAscension", -15, 0, 23, 0, 0, 0, 0, 0, 0},
                      Descomposicion{"FullTurn", 360, 0, 0, 0, 0, 0, 0, 0, 0},
                      Descomposicion{"TwoTurns", 720, 0, 0, 0, 0, 0, 0, 0, 0},
                      Descomposicion{"JustPastATurn", 370, 0, 0, 39, 59, 0, 0, 0, 0},
                      Descomposicion{"TinyNegativeShows24Hours", -1e-20, 0, 24, 0, 0, 0, 0, 0, 0}),
    [](const auto& info) { return std::string(info.param.nombre); });

TEST(DescomponerPosicion, RoundTripsTypedCoordinates) {
    const double ar = Telescopio::GradosDesdeHMS(2, 31, 48);
    const double dec = Telescopio::GradosDesdeGMS(89, 59, 59, 1);
    const PosicionMostrada p = Telescopio::DescomponerPosicion(ar, dec);
    EXPECT_EQ(p.AR.nSegundos, 48);
    EXPECT_EQ(p.DEC.nSegundos, 58);  // the floating error shows through truncation
}

TEST(DescomponerPosicion, NonFiniteAndHugeAnglesGiveDefinedOutput) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const double v : {nan, inf, -inf, 1e300, -1e300, 4e9, -4e9}) {
        const PosicionMostrada a = Telescopio::DescomponerPosicion(v, 0);
        const PosicionMostrada b = Telescopio::DescomponerPosicion(0, v);
        // Whatever digits come out, the same input gives the same output.
        const PosicionMostrada a2 = Telescopio::DescomponerPosicion(v, 0);
        EXPECT_EQ(a.AR.nHoras, a2.AR.nHoras) << v;
        EXPECT_LE(b.DEC.bNorte, 1) << v;
    }
}

TEST(TruncateToInt32, DropsTheFractionAndClampsWhatDoesNotFit) {
    const double inf = std::numeric_limits<double>::infinity();
    constexpr auto kMin = std::numeric_limits<std::int32_t>::min();
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    const struct {
        double x;
        std::int32_t expected;
    } casos[] = {
        {2.7, 2},
        {-2.7, -2},
        {0.0, 0},
        {-0.0, 0},
        {2147483647.9, kMax},
        {-2147483648.9, kMin},
        {2147483648.0, kMax},
        {-2147483649.0, kMin},
        {1e300, kMax},
        {-1e300, kMin},
        {inf, kMax},
        {-inf, kMin},
        {std::numeric_limits<double>::quiet_NaN(), 0},
    };
    for (const auto& c : casos) EXPECT_EQ(TruncateToInt32(c.x), c.expected) << c.x;
}

}  // namespace
