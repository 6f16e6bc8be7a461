#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>
#include <string>

#include "planetarium/PointingCommand.h"

namespace {

using namespace std::string_literals;

PosicionMostrada Position(int h, int m, int s, int d, int dm, int ds, std::uint8_t norte) {
    return PosicionMostrada{HMS{h, m, s}, GMS{d, dm, ds, norte}};
}

// A chart reply whose columns 63 to 72 hold `campo`.
std::string ReplyWithField(const std::string& campo) {
    return std::string(63, '.') + campo;
}

TEST(BuildPointingCommand, ByteForByte) {
    const struct {
        const char* name;
        PosicionMostrada p;
        bool recibir;
        std::string respuesta;
        std::string expected;
    } cases[] = {
        {"NorthFixedTail", Position(5, 3, 7, 12, 4, 9, 1), false, "",
         "MOVE RA: 5h3m7.00s DEC:+12\xB0"
         "4'9.0\" FOV:+90\xB0"
         "00'00\""},
        {"SouthTwin", Position(5, 3, 7, 12, 4, 9, 0), false, "",
         "MOVE RA: 5h3m7.00s DEC:-12\xB0"
         "4'9.0\" FOV:+90\xB0"
         "00'00\""},
        {"OnlyOneIsNorth", Position(5, 3, 7, 12, 4, 9, 2), false, "",
         "MOVE RA: 5h3m7.00s DEC:-12\xB0"
         "4'9.0\" FOV:+90\xB0"
         "00'00\""},
        {"FieldFromTheReply", Position(23, 59, 59, 90, 0, 0, 1), true,
         ReplyWithField("+45\xB0"
                        "30'00\"more"),
         "MOVE RA: 23h59m59.00s DEC:+90\xB0"
         "0'0.0\" FOV:+45\xB0"
         "30'00\""},
        {"FieldWhateverItHolds", Position(0, 0, 0, 0, 0, 0, 0), true, ReplyWithField("abcdefghij"),
         "MOVE RA: 0h0m0.00s DEC:-0\xB0"
         "0'0.0\" FOV:abcdefghij"},
        {"ReplyOfSeventyTwoStopsAfterTheNinth", Position(5, 3, 7, 12, 4, 9, 1), true,
         ReplyWithField("+90\xB0"
                        "00'00"),
         "MOVE RA: 5h3m7.00s DEC:+12\xB0"
         "4'9.0\" FOV:+90\xB0"
         "00'00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(BuildPointingCommand(c.p, c.recibir, c.respuesta), c.expected) << c.name;
    }
    EXPECT_EQ(BuildPointingCommand(cases[0].p, false, "").size(), 48u);
}

TEST(BuildPointingCommand, FieldOfAShortReplyRaises) {
    EXPECT_THROW(BuildPointingCommand(Position(5, 3, 7, 12, 4, 9, 1), true, "NULL"),
                 std::invalid_argument);
}

TEST(BuildPointingCommand, LongestCommandFitsTheBuffer) {
    const std::string longest = BuildPointingCommand(Position(23, 59, 59, 90, 59, 59, 1), true,
                                                     ReplyWithField("1234567890"));
    EXPECT_EQ(longest.size(), 53u);
}

TEST(BuildPointingCommand, OutOfRangeNumbersNeverOverflowTheBuffer) {
    const std::string comando = BuildPointingCommand(
        Position(INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, INT_MIN, 1), false, "");
    EXPECT_EQ(comando.size(), 55u);
    EXPECT_EQ(comando.substr(0, 21), "MOVE RA: -2147483648h");
}

}  // namespace
