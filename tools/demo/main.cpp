// mivlo-demo: the program at work on Qt's offscreen platform, with a
// simulated mount and a simulated Cartes du Ciel.
#include <QApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/demo/Demo.h"

namespace {

const char* const kUsage =
    "usage: mivlo-demo [--slew SECONDS] [output folder]\n"
    "Connects COM1 to a simulated mount, lets it slew (4 s unless told), points a\n"
    "simulated Cartes du Ciel at the telescope, and writes demo-before.png and\n"
    "demo-after.png of the main window into the folder (out unless told).\n";

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIVLO"));
    DemoSettings settings;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--slew") == 0 && i + 1 < argc) {
            const double seconds = std::atof(argv[++i]);
            if (seconds <= 0 || seconds > 600) {
                std::fprintf(stderr, "mivlo-demo: --slew takes seconds from 0 to 600\n%s", kUsage);
                return 2;
            }
            settings.slew = std::chrono::milliseconds(static_cast<long>(seconds * 1000));
        } else if (argv[i][0] == '-') {
            std::fprintf(stderr, "%s", kUsage);
            return std::strcmp(argv[i], "--help") == 0 ? 0 : 2;
        } else {
            settings.outputFolder = QString::fromLocal8Bit(argv[i]);
        }
    }
    const DemoReport report = RunDemo(settings);
    if (!report.ok) std::fprintf(stderr, "mivlo-demo: %s\n", qPrintable(report.problem));
    return report.ok ? 0 : 1;
}
