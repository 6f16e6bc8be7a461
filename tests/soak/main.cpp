// mivlo-soak: runs the main window for a long night against the simulated
// mount (COM1) and planetarium (MIVLO_CIEL), connected and following the
// telescope at a 2 s interval, and reports what soak.sh checks: resident
// memory over time, every box shown, when each tick of the sky's turning
// came in the byte stream, and the final position to the bit.
// Usage: mivlo-soak SECONDS
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/CMainFrame.h"
#include "encoder/CommMessages.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

namespace {

// Lets the window run, idle between events, for a while.
void Run(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// The main window, telling when the sky's turning was added relative to the
// bytes handled, so the position can be recomputed in the same order.
class SoakWindow : public CMainFrame {
  public:
    long OnCommNotification(unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override {
        if (message == WM_COMM_RXCHAR) ++m_nBytes;
        return CMainFrame::OnCommNotification(message, wParam, lParam);
    }
    void OnTimer(int id) override {
        if (id == 1) std::printf("tick %lld %d\n", m_nBytes, TimerTicksDue());
        CMainFrame::OnTimer(id);
    }
    long long m_nBytes = 0;
};

// What the configuration and planetarium dialogs do when the user connects
// COM1 and sets the chart to follow the telescope every 2 s.
void ConnectEverything(SoakWindow& w) {
    Telescopio& t = w.m_Telescopio;
    if (!t.m_Puerto.OpenPort(&w, 1, 1200, 'N', 7, 1, EV_RXCHAR | EV_CTS) ||
        !t.m_Puerto.StartListening()) {
        std::fprintf(stderr, "mivlo-soak: COM1 did not open\n");
        std::exit(1);
    }
    t.m_nPuertoActual = 1;
    t.m_bConectado = true;
    t.m_nTimerEncoder = w.SetTimer(1, 1000);
    if (!w.m_DDE.Conectar("ciel", "DdeSkyChart")) {
        std::fprintf(stderr, "mivlo-soak: no planetarium\n");
        std::exit(1);
    }
    w.m_DDE.m_bEnviar = 1;
    w.m_DDE.m_nIntervalo = 2;
    w.m_DDE.m_nTimerDDE = w.SetTimer(2, 2000);
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIVLO"));
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 600;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);

    BoxRecorder boxes;
    SoakWindow w;
    QTimer memory;
    QObject::connect(&memory, &QTimer::timeout,
                     [&] { std::printf("rss %lld %ld\n", w.m_nBytes, ResidentKilobytes()); });
    WhenModalAppears(nullptr, [&](QWidget*) {
        ConnectEverything(w);
        memory.start(10000);
        // The mount goes on moving: the port is closed under it, as a user
        // disconnects at dawn, so that no hang-up box ends the night.
        Run(seconds * 1000);
        w.m_Telescopio.m_Puerto.StopListening();
        w.KillTimer(1);
        std::printf("bytes %lld\nar %a\ndec %a\nboxes %zu\n", w.m_nBytes, w.m_Telescopio.m_dAR,
                    w.m_Telescopio.m_dDEC, boxes.Boxes().size());
        for (const QString& text : boxes.Texts()) std::printf("box %s\n", qPrintable(text));
        w.EndDialog(IDCANCEL);
    });
    w.DoModal();
    return 0;
}
