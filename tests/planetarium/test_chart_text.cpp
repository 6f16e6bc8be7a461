#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "planetarium/ChartText.h"

namespace {

using namespace std::string_literals;

TEST(ValorDigito, ValuesOfEveryKindOfByte) {
    const struct {
        char c;
        int value;
    } cases[] = {{'+', 1},  {',', 0}, {'-', -1},   {'.', 0},    {'/', 0},   {'0', 0},
                 {'1', 1},  {'5', 5}, {'9', 9},    {'a', 0},    {' ', 0},   {':', 0},
                 {'\0', 0}, {'*', 0}, {'\x80', 0}, {'\xB0', 0}, {'\xFF', 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(ValorDigito(c.c), c.value) << "byte " << static_cast<int>(c.c);
    }
}

struct HmsCase {
    const char* name;
    HMS (*leer)(std::string);
    std::string respuesta;
    int horas, minutos, segundos;
};

class HmsReaders : public ::testing::TestWithParam<HmsCase> {};

TEST_P(HmsReaders, ReadFixedColumns) {
    const HmsCase& c = GetParam();
    const HMS hms = c.leer(c.respuesta);
    EXPECT_EQ(hms.nHoras, c.horas);
    EXPECT_EQ(hms.nMinutos, c.minutos);
    EXPECT_EQ(hms.nSegundos, c.segundos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HmsReaders,
    ::testing::Values(HmsCase{"KeyAtTen", LeerAR, "xxxxxxxxxxRA: 05h09m30s", 5, 9, 30},
                      HmsCase{"SignsInDigitPlaces", LeerAR, "RA: +3h-5m00s", 13, -5, 0},
                      HmsCase{"FirstKeyCounts", LeerAR, "RA: 01h02m03s RA: 11h12m13s", 1, 2, 3},
                      HmsCase{"NoKeyReadsFromMinusOne", LeerAR, "abc12x34x56", 12, 34, 56},
                      HmsCase{"TerminatorAsUnitsDigit", LeerAR, "RA: 01h02m3", 1, 2, 30},
                      HmsCase{"ZeroByteEndsTheReply", LeerAR,
                              "RA: 01h02m3\0"
                              "9 trailing"s,
                              1, 2, 30},
                      HmsCase{"Clock", LeerHora, "22/12/2001  23:50:58   ", 23, 50, 58},
                      HmsCase{"ClockOfNineteen", LeerHora, "22/12/2001  23:50:5", 23, 50, 50}),
    [](const auto& info) { return std::string(info.param.name); });

struct GmsCase {
    const char* name;
    GMS (*leer)(std::string);
    std::string respuesta;
    int grados, minutos, segundos, norte;
};

class GmsReaders : public ::testing::TestWithParam<GmsCase> {};

TEST_P(GmsReaders, ReadSignAndColumnsAfterTheKey) {
    const GmsCase& c = GetParam();
    const GMS gms = c.leer(c.respuesta);
    EXPECT_EQ(gms.nGrados, c.grados);
    EXPECT_EQ(gms.nMinutos, c.minutos);
    EXPECT_EQ(gms.nSegundos, c.segundos);
    EXPECT_EQ(gms.bNorte, c.norte);
}

const std::string kSite = "LAT:+43d37m00s LON:-01d27m00s ALT:200m OBS:Toulouse";

INSTANTIATE_TEST_SUITE_P(
    Cases, GmsReaders,
    ::testing::Values(GmsCase{"North", LeerDEC,
                              "DEC:+45\xB0"
                              "30'15\"",
                              45, 30, 15, 1},
                      GmsCase{"South", LeerDEC,
                              "xxDEC:-05\xB0"
                              "00'00\"",
                              5, 0, 0, 0},
                      GmsCase{"BlankSignIsSouth", LeerDEC,
                              "DEC: 05\xB0"
                              "00'00\"",
                              5, 0, 0, 0},
                      // Two degree digits only: the third shifts every later column.
                      GmsCase{"ThreeDegreeDigitsNotTakenWhole", LeerDEC,
                              "DEC:+123\xB0"
                              "45'30\"",
                              12, 4, 3, 1},
                      GmsCase{"NoKeySignAtThree", LeerDEC, "abc+12x34x56", 12, 34, 56, 1},
                      GmsCase{"TerminatorAsUnitsDigit", LeerDEC, "DEC:+01d02m3", 1, 2, 30, 1},
                      GmsCase{"Latitude", LeerLAT, kSite, 43, 37, 0, 1},
                      GmsCase{"Longitude", LeerLON, kSite, 1, 27, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChartReaders, ShortRepliesRaiseInvalidArgument) {
    const struct {
        const char* name;
        void (*leer)(const std::string&);
        std::string respuesta;
    } cases[] = {
        {"NullForAR", [](const std::string& r) { LeerAR(r); }, "NULL"},
        {"NullForDEC", [](const std::string& r) { LeerDEC(r); }, "NULL"},
        {"NullForLAT", [](const std::string& r) { LeerLAT(r); }, "NULL"},
        {"NullForLON", [](const std::string& r) { LeerLON(r); }, "NULL"},
        {"NullForHora", [](const std::string& r) { LeerHora(r); }, "NULL"},
        {"EmptyForAR", [](const std::string& r) { LeerAR(r); }, ""},
        {"ARCutOneBeforeSeconds", [](const std::string& r) { LeerAR(r); }, "RA: 01h02m"},
        {"DECCutOneBeforeSeconds", [](const std::string& r) { LeerDEC(r); }, "DEC:+01d02m"},
        {"ZeroByteCutsTheReply", [](const std::string& r) { LeerAR(r); },
         "RA: 01h0\0"
         "2m03s"s},
        {"HoraOfEighteen", [](const std::string& r) { LeerHora(r); }, "22/12/2001  23:50:"},
        {"CampoOfSeventyOne", [](const std::string& r) { LeerCampo(r); }, std::string(71, 'x')},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(c.leer(c.respuesta), std::invalid_argument) << c.name;
    }
}

TEST(LeerCampo, TakesColumnsSixtyThreeToSeventyTwo) {
    const std::string respuesta = std::string(63, '.') +
                                  "+90\xB0"
                                  "00'00\"" +
                                  "tail";
    EXPECT_EQ(LeerCampo(respuesta),
              "+90\xB0"
              "00'00\"");
}

TEST(LeerCampo, ExactlySeventyTwoEndsWithTheTerminator) {
    const std::string campo = LeerCampo(std::string(63, '.') +
                                        "+90\xB0"
                                        "00'00");
    ASSERT_EQ(campo.size(), 10u);
    EXPECT_EQ(campo,
              "+90\xB0"
              "00'00\0"s);
}

TEST(ChartReaders, NeverChangeTheCallersText) {
    const std::string respuesta = "RA: 05h03m07s DEC:+12d04m09s";
    const std::string copia = respuesta;
    LeerAR(respuesta);
    LeerDEC(respuesta);
    EXPECT_EQ(respuesta, copia);
}

}  // namespace
