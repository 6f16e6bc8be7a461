#include "bench/RefreshTickRun.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryFile>
#include <QThread>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "app/CMainFrame.h"
#include "bench/Figures.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

namespace {

double ThreadCpuMicroseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// The simulator prints its port first; it goes to a file because it then
// prints every command, which would fill a pipe nobody drains.
int SimulatorPort(const QString& output) {
    QFile file(output);
    for (int attempt = 0; attempt < 500; ++attempt) {
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray line = file.readLine().trimmed();
            file.close();
            if (!line.isEmpty()) return line.toInt();
        }
        QThread::msleep(10);
    }
    return 0;
}

void RunTicks(CMainFrame& window, int ticks, RefreshTickCost& cost) {
    window.m_DDE.m_bEnviar = 1;
    window.m_DDE.m_bRecibir = 1;
    std::vector<double> wall;
    double cpu = 0;
    BoxRecorder boxes;
    for (int i = 0; i < ticks; ++i) {
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadCpuMicroseconds();
        window.OnTimer(2);
        cpu += ThreadCpuMicroseconds() - cpuStart;
        wall.push_back(
            std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
                .count());
    }
    cost.medianMicroseconds = Percentile(wall, 0.5);
    cost.p99Microseconds = Percentile(wall, 0.99);
    cost.cpuMicroseconds = cpu / ticks;
    cost.failedTicks = static_cast<int>(boxes.Boxes().size());
}

}  // namespace

bool MeasureRefreshTick(const QString& chartSimulator, int ticks, RefreshTickCost& cost) {
    QTemporaryFile output;
    if (!output.open()) return false;
    QProcess simulator;
    simulator.setStandardOutputFile(output.fileName());
    simulator.start(chartSimulator, {QStringLiteral("--port"), QStringLiteral("0")});
    const int port = SimulatorPort(output.fileName());
    if (port == 0) return false;
    setenv("MIVLO_CIEL", ("127.0.0.1:" + std::to_string(port)).c_str(), 1);
    CMainFrame window;
    bool linked = false;
    WhenModalAppears(nullptr, [&](QWidget*) {
        linked = window.m_DDE.Conectar("ciel", "DdeSkyChart");
        if (linked) RunTicks(window, ticks, cost);
        window.EndDialog(IDCANCEL);
    });
    window.DoModal();
    simulator.kill();
    simulator.waitForFinished();
    return linked;
}
