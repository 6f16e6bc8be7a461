#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "planetarium/ChartServerAddress.h"
#include "planetarium/ChartServerProtocol.h"
#include "tests/planetarium/ToulouseChart.h"

namespace {

using namespace std::string_literals;

const ChartReplies kToulouse{"05h03m07s", "+12d04m09s", "+90d00m00s", "2001-12-22T23:50:58",
                             "LAT:+43d37m00sLON:-01d27m00sALT:200mOBS:Toulouse"};

TEST(ComposeChartText, ClassicLayout) {
    const auto text = ComposeChartText(kToulouse);
    ASSERT_TRUE(text);
    EXPECT_EQ(*text, kToulouseText);
    EXPECT_EQ(text->find("RA:"), 25u);
    EXPECT_EQ(text->substr(63, 10),
              "+90\xB0"
              "00'00\"");
}

TEST(ComposeChartText, WidensAndNarrowsFieldsToTheirColumns) {
    ChartReplies replies = kToulouse;
    replies.ra = "5h3m7.5s";
    replies.dec = "-1d2m3.25s";
    replies.fov = "+120d05m00s";
    replies.obs = "LAT:-033d52m00sLON:+151d12m00sALT:58mOBS:Sydney Opera";
    const auto text = ComposeChartText(replies);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("RA: 05h03m07.50s DEC:-01\xB0"
                         "02'03.2\" FOV:+120\xB0"
                         "05'00\"\r\n"),
              std::string::npos);
    EXPECT_NE(text->find("LAT:-33d52m00s LON:+151d12m00s ALT:58m OBS:Sydney Opera"),
              std::string::npos);
}

TEST(ComposeChartText, PayloadsThatAreNotTheirFieldGiveNoText) {
    const struct {
        const char* name;
        std::string ChartReplies::*field;
        std::string payload;
    } cases[] = {
        {"Hours", &ChartReplies::ra, "5.0523"},
        {"EmptyHours", &ChartReplies::ra, ""},
        {"Declination", &ChartReplies::dec, "+12:04:09"},
        {"Field", &ChartReplies::fov, "wide"},
        {"Date", &ChartReplies::date, "22/12/2001 23:50"},
        {"SiteWithoutLongitude", &ChartReplies::obs, "LAT:+43d37m00sALT:200m"},
        // Longer than any field: read as it stood, these overflowed the stack.
        {"EndlessSiteName", &ChartReplies::obs,
         "LAT:+43d37m00sLON:-01d27m00sALT:200mOBS:" + std::string(60000, 'x')},
        {"EndlessFraction", &ChartReplies::ra, "05h03m07." + std::string(60000, '0') + "s"},
    };
    for (const auto& c : cases) {
        ChartReplies replies = kToulouse;
        replies.*c.field = c.payload;
        EXPECT_FALSE(ComposeChartText(replies)) << c.name;
    }
}

TEST(OkPayload, OnlyOkRepliesCarryAPayload) {
    EXPECT_EQ(OkPayload("OK! 05h03m07s"), "05h03m07s");
    EXPECT_EQ(OkPayload("OK!"), "");
    EXPECT_EQ(OkPayload("OK!   +90d00m00s  "), "+90d00m00s");
    EXPECT_FALSE(OkPayload("Failed! Bad command name"));
    EXPECT_FALSE(OkPayload("Not found!"));
    EXPECT_FALSE(OkPayload("Timeout!"));
    EXPECT_FALSE(OkPayload("ok! lower case"));
}

TEST(ToServerCommand, TranslatesPointingAndPassesTheRest) {
    const struct {
        const char* name;
        std::string poke;
        std::string command;
    } cases[] = {
        {"Pointing",
         "MOVE RA: 5h3m7.00s DEC:+12\xB0"
         "4'9.0\" FOV:+90\xB0"
         "00'00\"",
         "MOVE RA:5h3m7.00s DEC:+12d4m9.0s FOV:+90d00m00s"},
        {"South",
         "MOVE RA: 18h36m56.00s DEC:-38\xB0"
         "47'1.0\" FOV:+90\xB0"
         "00'00\"",
         "MOVE RA:18h36m56.00s DEC:-38d47m1.0s FOV:+90d00m00s"},
        {"FieldCutBeforeItsQuote",
         "MOVE RA: 5h3m7.00s DEC:+12\xB0"
         "4'9.0\" FOV:+100\xB0"
         "00'00",
         "MOVE RA:5h3m7.00s DEC:+12d4m9.0s FOV:+100d00m00s"},
        {"FieldThatIsNoAngleLeftOut",
         "MOVE RA: 5h3m7.00s DEC:+12\xB0"
         "4'9.0\" FOV:abcdefghij",
         "MOVE RA:5h3m7.00s DEC:+12d4m9.0s"},
        {"OtherText", "REDRAW", "REDRAW"},
        {"EndlessPointing",
         "MOVE RA: 5h3m7.00s DEC:+12\xB0"
         "4'9.0\" FOV:" +
             std::string(60000, 'x'),
         "MOVE RA: 5h3m7.00s DEC:+12?4'9.0\" FOV:" + std::string(60000, 'x')},
        {"TerminatingZeroEndsIt", "REDRAW\0GETRA"s, "REDRAW"},
        {"OneLineOnly", "REDRAW\r\nQUIT", "REDRAW"},
        {"BareLineFeed", "REDRAW\nQUIT", "REDRAW"},
        {"OnlyAsciiSent", "SETOBS OBS:S\xE8te\tX", "SETOBS OBS:S?te?X"},
        {"NotAPointingSentAsItStands", "MOVE RA: garbage \xB0", "MOVE RA: garbage ?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToServerCommand(c.poke), c.command) << c.name;
    }
}

TEST(ParseHostPort, ReadsHostAndPort) {
    const auto v4 = ParseHostPort("192.168.1.5:3293");
    ASSERT_TRUE(v4);
    EXPECT_EQ(v4->host, "192.168.1.5");
    EXPECT_EQ(v4->port, 3293);
    const auto v6 = ParseHostPort("[::1]:3292");
    ASSERT_TRUE(v6);
    EXPECT_EQ(v6->host, "::1");
    for (const char* bad :
         {"localhost", "localhost:", ":3292", "host:0", "host:70000", "host:32x", "host:-1"}) {
        EXPECT_FALSE(ParseHostPort(bad)) << bad;
    }
}

class FindChartServerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ =
            std::filesystem::temp_directory_path() / ("mivlo-home-" + std::to_string(::getpid()));
        std::filesystem::create_directories(home_ / ".skychart" / "tmp");
        ::setenv("HOME", home_.c_str(), 1);
        ::unsetenv("MIVLO_CIEL");
    }
    void TearDown() override { std::filesystem::remove_all(home_); }
    void WritePortFile(const std::string& text) {
        std::ofstream(home_ / ".skychart" / "tmp" / "tcpport") << text;
    }
    std::filesystem::path home_;
};

TEST_F(FindChartServerTest, DefaultIsLoopbackOnTheServersPort) {
    const auto address = FindChartServer();
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, "127.0.0.1");
    EXPECT_EQ(address->port, 3292);
}

TEST_F(FindChartServerTest, PortWrittenByThePlanetarium) {
    WritePortFile("3345\n");
    const auto address = FindChartServer();
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, "127.0.0.1");
    EXPECT_EQ(address->port, 3345);
}

TEST_F(FindChartServerTest, UnreadablePortFileFallsBackToTheDefault) {
    WritePortFile("none");
    EXPECT_EQ(FindChartServer()->port, 3292);
}

TEST_F(FindChartServerTest, EnvironmentWinsAndIsNotGuessedAt) {
    WritePortFile("3345");
    ::setenv("MIVLO_CIEL", "skyhost:4000", 1);
    const auto address = FindChartServer();
    ASSERT_TRUE(address);
    EXPECT_EQ(address->host, "skyhost");
    EXPECT_EQ(address->port, 4000);
    ::setenv("MIVLO_CIEL", "skyhost", 1);
    EXPECT_FALSE(FindChartServer());
}

}  // namespace
