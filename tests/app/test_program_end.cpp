#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <array>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <memory>

#include "app/CMainFrame.h"
#include "encoder/CommMessages.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"
#include "tools/chartsim/ChartSimulator.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The mouse's line: the program opens the slave as COM1; the test writes to
// and hangs up the master.
struct MouseLine {
    MouseLine() {
        std::array<char, 128> name{};
        openpty(&master, &slave, name.data(), nullptr, nullptr);
        setenv("MIVLO_COM1", name.data(), 1);
    }
    ~MouseLine() {
        HangUp();
        close(slave);
        unsetenv("MIVLO_COM1");
    }
    void Send() {
        const std::array<unsigned char, 6> packets{0x40, 0x01, 0x00, 0x4C, 0x00, 0x3F};
        EXPECT_EQ(write(master, packets.data(), packets.size()), 6);
    }
    void HangUp() {
        if (master >= 0) close(master);
        master = -1;
    }
    int master = -1;
    int slave = -1;
};

// What the configuration and planetarium dialogs do, done directly.
void Connect(CMainFrame& w) {
    Telescopio& t = w.m_Telescopio;
    ASSERT_TRUE(t.m_Puerto.OpenPort(&w, 1, 1200, 'N', 7, 1, EV_RXCHAR | EV_CTS));
    t.m_nPuertoActual = 1;
    ASSERT_TRUE(t.m_Puerto.StartListening());
    t.m_bConectado = true;
    t.m_nTimerEncoder = w.SetTimer(1, 1000);
}

void Disconnect(CMainFrame& w) {
    w.m_Telescopio.m_Puerto.StopListening();
    w.KillTimer(w.m_Telescopio.m_nTimerEncoder);
    w.m_Telescopio.m_bConectado = false;
}

void LinkOn(CMainFrame& w, std::uint16_t port, bool send) {
    setenv("MIVLO_CIEL", ("127.0.0.1:" + std::to_string(port)).c_str(), 1);
    ASSERT_TRUE(w.m_DDE.Conectar("ciel", "DdeSkyChart"));
    (send ? w.m_DDE.m_bEnviar : w.m_DDE.m_bRecibir) = 1;
    w.m_DDE.m_nTimerDDE = w.SetTimer(2, 2000);
}

struct State {
    const char* name;
    std::function<void(CMainFrame&, MouseLine&, std::uint16_t chart)> enter;
    // The window is closed while the listening thread's error box is open.
    bool closeFromTheBox = false;
};

// From every state the program has ended (the window gone, the port closed,
// the link ended) within 2 s of its window closing, even against a
// planetarium that has stopped answering.
TEST(ProgramEnd, WithinTwoSecondsOfTheWindowClosingFromEveryState) {
    const State states[] = {
        {"connected under traffic",
         [](CMainFrame& w, MouseLine& line, std::uint16_t) {
             Connect(w);
             line.Send();
             EXPECT_TRUE(WaitUntil([&] { return w.m_Telescopio.m_dAR != 0; }, 5000));
         }},
        {"disconnected after connecting",
         [](CMainFrame& w, MouseLine&, std::uint16_t) {
             Connect(w);
             Disconnect(w);
         }},
        {"following the telescope",
         [](CMainFrame& w, MouseLine&, std::uint16_t chart) { LinkOn(w, chart, true); }},
        {"reading the chart",
         [](CMainFrame& w, MouseLine&, std::uint16_t chart) { LinkOn(w, chart, false); }},
        {"error box open on the listening thread",
         [](CMainFrame& w, MouseLine& line, std::uint16_t) {
             Connect(w);
             line.HangUp();
         },
         true},
    };
    for (const auto& s : states) {
        ChartSimulator::Settings stalled;
        stalled.fault = ChartSimulator::Fault::Stall;
        ChartSimulator chart(stalled);
        ASSERT_TRUE(chart.Start());
        MouseLine line;
        Clock::time_point closed;
        {
            CMainFrame w;
            WhenModalAppears(nullptr, [&](QWidget*) {
                if (s.closeFromTheBox) {
                    WhenModalAppears(&w, [&](QWidget* box) {
                        ASSERT_NE(qobject_cast<QMessageBox*>(box), nullptr) << s.name;
                        closed = Clock::now();
                        w.EndDialog(IDCANCEL);
                        qobject_cast<QMessageBox*>(box)->defaultButton()->click();
                    });
                    s.enter(w, line, chart.Port());
                    return;
                }
                s.enter(w, line, chart.Port());
                closed = Clock::now();
                w.EndDialog(IDCANCEL);
            });
            w.DoModal();
        }
        EXPECT_LT(Clock::now() - closed, 2s) << s.name;
        unsetenv("MIVLO_CIEL");
    }
}

}  // namespace
