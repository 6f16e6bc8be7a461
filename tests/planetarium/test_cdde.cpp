#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "planetarium/CDDE.h"
#include "planetarium/ChartServerBackend.h"
#include "planetarium/ChartText.h"
#include "planetarium/PointingCommand.h"
#include "tests/planetarium/ToulouseChart.h"
#include "tools/chartsim/ChartSimulator.h"

namespace {

using namespace std::chrono_literals;
using Fault = ChartSimulator::Fault;

const std::string kFallo = "Fallo en la recepci\xC3\xB3n de datos DDE";

ChartSimulator::Settings Toulouse(Fault fault = Fault::None, int closeAfter = 0) {
    ChartSimulator::Settings settings;
    settings.clock = "2001-12-22T23:50:58";
    settings.fault = fault;
    settings.closeAfter = closeAfter;
    return settings;
}

// A CDDE talking to a simulated planetarium on loopback, recording the boxes
// it shows.
class Link {
  public:
    explicit Link(ChartSimulator::Settings settings = Toulouse()) : simulator(settings) {
        EXPECT_TRUE(simulator.Start());
        dde = MakeDde(simulator.Port());
    }

    std::unique_ptr<CDDE> MakeDde(std::uint16_t port) {
        auto made = std::make_unique<CDDE>(
            std::make_unique<ChartServerBackend>(ChartServerAddress{"127.0.0.1", port}));
        made->SetMessageBox([this](const std::string& text) { boxes.push_back(text); });
        return made;
    }

    bool Connect() { return dde->Conectar("ciel", "DdeSkyChart"); }

    ChartSimulator simulator;
    std::unique_ptr<CDDE> dde;
    std::vector<std::string> boxes;
};

TEST(CDDE, StartsClosedWithItsDefaults) {
    const CDDE dde;
    EXPECT_EQ(dde.m_bEnviar, 0);
    EXPECT_EQ(dde.m_bRecibir, 0);
    EXPECT_EQ(dde.m_nTimerDDE, 0);
    EXPECT_EQ(dde.m_nIntervalo, 5);
    EXPECT_EQ(dde.m_idInst, 0u);
    EXPECT_FALSE(dde.m_hConv);
}

TEST(CDDE, RequestComposesTheChartTextTheReadersUse) {
    Link link;
    ASSERT_TRUE(link.Connect());
    EXPECT_TRUE(link.dde->m_hConv);
    EXPECT_NE(link.dde->m_idInst, 0u);

    const std::string chart = link.dde->RecibirDDE("DdeData");
    EXPECT_EQ(chart, kToulouseText);
    EXPECT_TRUE(link.boxes.empty());
    EXPECT_EQ(link.simulator.Received(),
              (std::vector<std::string>{"GETRA", "GETDEC", "GETFOV", "GETDATE", "GETOBS"}));

    const HMS ar = LeerAR(chart);
    const GMS dec = LeerDEC(chart);
    const HMS hora = LeerHora(chart);
    const GMS lat = LeerLAT(chart);
    const GMS lon = LeerLON(chart);
    EXPECT_EQ((std::vector{ar.nHoras, ar.nMinutos, ar.nSegundos}), (std::vector{5, 3, 7}));
    EXPECT_EQ((std::vector{dec.nGrados, dec.nMinutos, dec.nSegundos, int{dec.bNorte}}),
              (std::vector{12, 4, 9, 1}));
    EXPECT_EQ((std::vector{hora.nHoras, hora.nMinutos, hora.nSegundos}), (std::vector{23, 50, 58}));
    EXPECT_EQ((std::vector{lat.nGrados, lat.nMinutos, int{lat.bNorte}}), (std::vector{43, 37, 1}));
    EXPECT_EQ((std::vector{lon.nGrados, lon.nMinutos, int{lon.bNorte}}), (std::vector{1, 27, 0}));
    EXPECT_EQ(LeerCampo(chart),
              "+90\xB0"
              "00'00\"");
}

TEST(CDDE, StatusLinesOfTheServerAreSkipped) {
    ChartSimulator::Settings settings = Toulouse();
    settings.statusLines = true;
    Link link(settings);
    ASSERT_TRUE(link.Connect());
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), kToulouseText);
}

TEST(CDDE, PokedPointingMovesTheChart) {
    Link link;
    ASSERT_TRUE(link.Connect());
    const PosicionMostrada antares{HMS{16, 29, 24}, GMS{26, 25, 55, 0}};
    link.dde->EnviarDDE("DdeData", BuildPointingCommand(antares, false, ""));
    EXPECT_EQ(link.simulator.Received().back(),
              "MOVE RA:16h29m24.00s DEC:-26d25m55.0s FOV:+90d00m00s");

    const std::string chart = link.dde->RecibirDDE("DdeData");
    EXPECT_EQ(LeerAR(chart).nHoras, 16);
    EXPECT_EQ(LeerAR(chart).nSegundos, 24);
    EXPECT_EQ(LeerDEC(chart).nGrados, 26);
    EXPECT_EQ(LeerDEC(chart).nSegundos, 55);
    EXPECT_EQ(LeerDEC(chart).bNorte, 0);
}

TEST(CDDE, OtherPokesGoAsTheyStandOneCommandEach) {
    Link link;
    ASSERT_TRUE(link.Connect());
    link.dde->EnviarDDE("DdeData", "REDRAW\r\nQUIT");
    link.dde->EnviarDDE("DdeData", "GETRA");
    EXPECT_EQ(link.simulator.Received(), (std::vector<std::string>{"REDRAW", "GETRA"}));
}

TEST(CDDE, OnlyCielAndDdeSkyChartHaveAServer) {
    Link link;
    EXPECT_FALSE(link.dde->Conectar("ciel", "OtherTopic"));
    EXPECT_FALSE(link.dde->Conectar("stellarium", "DdeSkyChart"));
    EXPECT_FALSE(link.dde->m_hConv);
    EXPECT_FALSE(link.dde->Desconectar());
    EXPECT_TRUE(link.simulator.Received().empty());
}

TEST(CDDE, RefusedConnectionIsNoConversation) {
    std::uint16_t closedPort = 0;
    {
        ChartSimulator gone(Toulouse());
        ASSERT_TRUE(gone.Start());
        closedPort = gone.Port();
    }
    Link link;
    link.dde = link.MakeDde(closedPort);
    EXPECT_FALSE(link.Connect());
    EXPECT_FALSE(link.dde->Desconectar());
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), "NULL");
    link.dde->EnviarDDE("DdeData", "REDRAW");
    EXPECT_EQ(link.boxes, std::vector<std::string>{kFallo});
}

TEST(CDDE, FailingRequestsShowTheBoxOncePerCallAndGiveNull) {
    const struct {
        const char* name;
        ChartSimulator::Settings settings;
    } cases[] = {
        {"Refused", Toulouse(Fault::Refuse)},
        {"Garbage", Toulouse(Fault::Garbage)},
        {"ClosesMidRequest", Toulouse(Fault::CloseAfter, 2)},
    };
    for (const auto& c : cases) {
        Link link(c.settings);
        ASSERT_TRUE(link.Connect()) << c.name;
        EXPECT_EQ(link.dde->RecibirDDE("DdeData"), "NULL") << c.name;
        EXPECT_EQ(link.dde->RecibirDDE("DdeData"), "NULL") << c.name;
        EXPECT_EQ(link.boxes, (std::vector<std::string>{kFallo, kFallo})) << c.name;
        EXPECT_TRUE(link.dde->m_hConv) << c.name;
    }
}

TEST(CDDE, UnknownItemGivesNoData) {
    Link link;
    ASSERT_TRUE(link.Connect());
    EXPECT_EQ(link.dde->RecibirDDE("Other"), "NULL");
    EXPECT_EQ(link.boxes, std::vector<std::string>{kFallo});
}

TEST(CDDE, NoBoxWithoutAnInstalledOne) {
    Link link(Toulouse(Fault::Refuse));
    link.dde->SetMessageBox({});
    ASSERT_TRUE(link.Connect());
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), "NULL");
}

TEST(CDDE, ServerThatClosedIsOpenedAgainByTheNextTransaction) {
    Link link(Toulouse(Fault::CloseAfter, 5));
    ASSERT_TRUE(link.Connect());
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), kToulouseText);
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), "NULL");
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), kToulouseText);
    EXPECT_EQ(link.boxes, std::vector<std::string>{kFallo});
}

// The whole request shares one deadline, so a silent server costs one
// time-out, not one per command.
TEST(CDDE, StalledServerGivesNullWithinTheTimeOut) {
    Link link(Toulouse(Fault::Stall));
    ASSERT_TRUE(link.Connect());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), "NULL");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(link.boxes, std::vector<std::string>{kFallo});
    EXPECT_EQ(link.simulator.Received(), std::vector<std::string>{"GETRA"});
    EXPECT_GE(elapsed, 3000ms);
    EXPECT_LT(elapsed, 6000ms);

    // A poke to the same silent server passes without a word.
    link.dde->EnviarDDE("DdeData", "REDRAW");
    EXPECT_EQ(link.boxes.size(), 1u);
}

TEST(CDDE, DisconnectSaysQuitAndEndsBoth) {
    Link link;
    ASSERT_TRUE(link.Connect());
    EXPECT_TRUE(link.dde->Desconectar());
    EXPECT_FALSE(link.dde->m_hConv);
    EXPECT_EQ(link.dde->m_idInst, 0u);
    EXPECT_FALSE(link.dde->Desconectar());
    ASSERT_TRUE(link.simulator.WaitForReceived(1, 5s));
    EXPECT_EQ(link.simulator.Received(), std::vector<std::string>{"QUIT"});
}

TEST(CDDE, SecondConnectEndsTheFirst) {
    Link link;
    ASSERT_TRUE(link.Connect());
    ASSERT_TRUE(link.Connect());
    ASSERT_TRUE(link.simulator.WaitForReceived(1, 5s));
    EXPECT_EQ(link.simulator.Received(), std::vector<std::string>{"QUIT"});
    EXPECT_EQ(link.dde->RecibirDDE("DdeData"), kToulouseText);
    EXPECT_TRUE(link.dde->Desconectar());
    EXPECT_FALSE(link.dde->Desconectar());
}

TEST(CDDE, FullServerRefusesTheEleventhConversation) {
    Link link;
    std::vector<std::unique_ptr<CDDE>> others;
    for (int i = 0; i < ChartSimulator::kMaxClients; ++i) {
        others.push_back(link.MakeDde(link.simulator.Port()));
        ASSERT_TRUE(others.back()->Conectar("ciel", "DdeSkyChart")) << i;
    }
    EXPECT_FALSE(link.Connect());
    EXPECT_TRUE(others.front()->Desconectar());
    ASSERT_TRUE(link.simulator.WaitForReceived(1, 5s));
    EXPECT_TRUE(link.Connect());
}

TEST(CDDE, DefaultBackEndFindsTheServerThroughTheEnvironment) {
    Link link;
    ::setenv("MIVLO_CIEL", ("127.0.0.1:" + std::to_string(link.simulator.Port())).c_str(), 1);
    CDDE dde;
    ASSERT_TRUE(dde.Conectar("ciel", "DdeSkyChart"));
    EXPECT_EQ(dde.RecibirDDE("DdeData"), kToulouseText);
    EXPECT_TRUE(dde.Desconectar());
}

}  // namespace
