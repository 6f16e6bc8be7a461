// The real main window under measurement, on the offscreen platform:
//   mivlo-bench-window e2e RESULTS_DIR [FLOOD_BYTES] [LINE_SECONDS]
//   mivlo-bench-window host            (connects on COM1, says "connected", runs on)
//   mivlo-bench-window chart MIVLO_CHARTSIM [TICKS]
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>

#include "app/CMainFrame.h"
#include "bench/ConnectThroughDialog.h"
#include "bench/EndToEndRun.h"
#include "bench/Figures.h"
#include "bench/LatencyPlot.h"
#include "bench/RefreshTickRun.h"
#include "tools/automation/ModalScript.h"

namespace {

// Default refresh interval of the planetarium link, in seconds.
constexpr double kRefreshInterval = 5;

void SaveSamples(const std::vector<double>& samples, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return;
    QTextStream out(&file);
    for (const double s : samples) out << QString::number(s, 'f', 2) << '\n';
}

void ReportPhase(const char* name, const LinkPhase& phase) {
    const std::string n = name;
    ReportFigure(n + ": latency median", Percentile(phase.latencyMicroseconds, 0.5), "us",
                 "none set", std::nullopt);
}

int EndToEnd(const QString& results, std::size_t floodBytes, double lineSeconds) {
    QDir().mkpath(results);
    EndToEndRun run(floodBytes, lineSeconds);
    const double bare = run.BareReaderBytesPerSecond();
    LinkPhase full;
    LinkPhase line;
    if (!run.ThroughMainWindow(full, line)) {
        std::fprintf(stderr, "the main window did not connect or lost bytes\n");
        return 1;
    }
    ReportFigure("End to end, full speed: sustained", full.bytesPerSecond, "B/s", ">= 20000",
                 full.bytesPerSecond >= 20000);
    ReportFigure("Bare reader on the same line (baseline)", bare, "B/s", "none set", std::nullopt);
    ReportFigure("End to end, full speed: ratio to bare reader", full.bytesPerSecond / bare, "x",
                 "none set", std::nullopt);
    ReportPhase("End to end, full speed", full);
    ReportFigure("End to end, full speed: latency p99", Percentile(full.latencyMicroseconds, 0.99),
                 "us", "none set", std::nullopt);
    ReportFigure("End to end, line rate: sustained", line.bytesPerSecond, "B/s", "133 offered",
                 std::nullopt);
    ReportPhase("End to end, line rate", line);
    const double p99 = Percentile(line.latencyMicroseconds, 0.99);
    ReportFigure("End to end, line rate: latency p99", p99, "us", "< 1000", p99 < 1000);
    SaveSamples(line.latencyMicroseconds, results + QStringLiteral("/latency-line-rate.txt"));
    const bool plotted = SaveLatencyPlot(
        {{QStringLiteral("Line rate, 133 bytes per second: %1 bytes")
              .arg(line.latencyMicroseconds.size()),
          line.latencyMicroseconds},
         {QStringLiteral("Full speed: %1 bytes written as fast as the line takes them")
              .arg(full.latencyMicroseconds.size()),
          full.latencyMicroseconds}},
        results + QStringLiteral("/latency.png"));
    return plotted ? 0 : 1;
}

int Host() {
    CMainFrame window;
    WhenModalAppears(nullptr, [&](QWidget*) {
        std::puts(ConnectThroughDialog(window) ? "connected" : "not connected");
        std::fflush(stdout);
    });
    window.DoModal();
    return 0;
}

int Chart(const QString& simulator, int ticks) {
    RefreshTickCost cost;
    if (!MeasureRefreshTick(simulator, ticks, cost)) {
        std::fprintf(stderr, "no link with the chart simulator\n");
        return 1;
    }
    ReportFigure("Planetarium refresh tick, both directions: median", cost.medianMicroseconds, "us",
                 "none set", std::nullopt);
    ReportFigure("Planetarium refresh tick: p99", cost.p99Microseconds, "us", "none set",
                 std::nullopt);
    ReportFigure("Planetarium refresh tick: CPU", cost.cpuMicroseconds, "us", "none set",
                 std::nullopt);
    ReportFigure("Planetarium refresh every 5 s: CPU",
                 cost.cpuMicroseconds / 1e6 / kRefreshInterval * 100, "% of core", "none set",
                 std::nullopt);
    if (cost.failedTicks != 0) std::fprintf(stderr, "%d ticks failed\n", cost.failedTicks);
    return cost.failedTicks == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIVLO"));
    const QStringList args = QApplication::arguments();
    const QString mode = args.value(1);
    if (mode == QStringLiteral("e2e") && args.size() >= 3) {
        return EndToEnd(args[2], args.value(3, QStringLiteral("60000")).toULong(),
                        args.value(4, QStringLiteral("15")).toDouble());
    }
    if (mode == QStringLiteral("host")) return Host();
    if (mode == QStringLiteral("chart") && args.size() >= 3) {
        return Chart(args[2], args.value(3, QStringLiteral("500")).toInt());
    }
    std::fprintf(stderr,
                 "usage: mivlo-bench-window e2e RESULTS_DIR [FLOOD_BYTES] [LINE_SECONDS]\n"
                 "       mivlo-bench-window host\n"
                 "       mivlo-bench-window chart MIVLO_CHARTSIM [TICKS]\n");
    return 2;
}
