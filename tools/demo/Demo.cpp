#include "tools/demo/Demo.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>

#include "app/CMainFrame.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"
#include "tools/chartsim/ChartSimulator.h"
#include "tools/demo/ChildProcess.h"

namespace {

constexpr int kShownBoxes[] = {1000, 1001, 1002, 1004, 1005, 1006, 1007, 1008,
                               1009, 1010, 1011, 1012, 1013, 1014, 1015};
constexpr int kRefreshSeconds = 2;
// 1200 baud, 7N1: nine bits a byte, three bytes a packet.
constexpr int kPacketsPerSecond = 1200 / 9 / 3;
// Before the slew the mount sends still packets for a while: connecting
// empties the line, and whatever it empties must not be movement.
constexpr int kStillBeforeSeconds = 3;
// After the slew it goes on sending still packets until the demo ends, so
// that the line stays up while the program has it open.
constexpr int kStillAfterSeconds = 120;
// Time for the last bytes on the line to reach the display.
constexpr int kSettleMs = 300;

void Say(const QString& text) {
    std::printf("%s\n", qPrintable(text));
    std::fflush(stdout);
}

QStringList Shown(const CMainFrame& w) {
    QStringList shown;
    for (const int id : kShownBoxes) shown << w.GetDlgItemText(id);
    return shown;
}

void Click(QWidget& window, int id) {
    if (auto* b = window.findChild<QAbstractButton*>(QString::number(id))) b->click();
}

// Opens a dialog through the main window's menu command and lets `fill` work
// it; false when the dialog did not appear.
bool RunDialog(CMainFrame& w, int command, const std::function<void(CDialog&)>& fill) {
    auto* action = w.findChild<QAction*>(QString::number(command));
    if (action == nullptr) return false;
    bool appeared = false;
    WhenModalAppears(&w, [&](QWidget* d) {
        auto* dialog = qobject_cast<CDialog*>(d);
        appeared = dialog != nullptr;
        if (appeared) fill(*dialog);
    });
    action->trigger();
    return appeared;
}

QString Picture(QWidget& w, const QDir& folder, const QString& name) {
    const QString path = folder.filePath(name);
    return w.grab().save(path) ? path : QString();
}

void SyncOnStar(CMainFrame& w) {
    const DemoStar& s = kDemoStar;
    const int boxes[] = {s.hours, s.minutes, s.seconds, s.degrees, s.arcMinutes, s.arcSeconds};
    const int ids[] = {1016, 1017, 1018, 1020, 1021, 1022};
    for (int i = 0; i < 6; ++i) w.SetDlgItemText(ids[i], QString::number(boxes[i]));
    w.SetCurSel(1029, s.north ? 0 : 1);
    Click(w, 1024);
}

bool ConnectCom1(CMainFrame& w) {
    bool connected = false;
    const bool shown = RunDialog(w, ID_CONFIGURACION_TELESCOPIO, [&](CDialog& d) {
        d.SetCurSel(1028, 0);
        Click(d, 1024);  // "Conectar"
        connected = d.GetDlgItemText(1000) == QStringLiteral("Conectado");
        Click(d, IDOK);
    });
    return shown && connected;
}

bool FollowTheTelescope(CMainFrame& w) {
    return RunDialog(w, ID_HERRAMIENTAS_CARTESDUCIEL,
                     [](CDialog& d) {
                         d.SetDlgItemInt(1000, kRefreshSeconds);
                         d.CheckDlgButton(1037, true);   // "Cartes du Ciel sigue a M.I.V.LO."
                         d.CheckDlgButton(1038, false);  // "M.I.V.LO. recibe de Cartes du Ciel"
                         Click(d, IDOK);
                     }) &&
           w.m_DDE.m_bEnviar != 0;
}

QStringList Moves(const ChartSimulator& chart) {
    QStringList moves;
    for (const std::string& line : chart.Received()) {
        if (line.rfind("MOVE", 0) == 0)
            moves << QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    }
    return moves;
}

// The steps inside the main window's modal run; false with report.problem set
// at the first step that failed.
// The mount simulator's script: one packet's counts a line at the line's
// pace, the slew's spread so that its totals come out exact.
QByteArray MountScript(std::chrono::milliseconds slew) {
    const QByteArray still = QByteArray("0 0\n").repeated(kPacketsPerSecond);
    QByteArray script = still.repeated(kStillBeforeSeconds);
    const int packets = std::max(1, static_cast<int>(slew.count() * kPacketsPerSecond / 1000));
    for (int i = 0; i < packets; ++i) {
        const int dx = kDemoSlewX * (i + 1) / packets - kDemoSlewX * i / packets;
        const int dy = kDemoSlewY * (i + 1) / packets - kDemoSlewY * i / packets;
        script += QByteArray::number(dx) + ' ' + QByteArray::number(dy) + '\n';
    }
    return script + still.repeated(kStillAfterSeconds);
}

// Starts the mount simulator on the script; its device, or empty.
QString StartMount(ChildProcess& mount, const QString& program, const QString& script) {
    if (!mount.Start({program.toStdString(), "--script", script.toStdString(), "--totals"})) {
        return {};
    }
    const auto device = mount.ReadLine(std::chrono::seconds(5));
    return device ? QString::fromStdString(*device).trimmed() : QString();
}

// Reads the running totals the mount prints each second into x and y.
void ReadTotals(ChildProcess& mount, int& x, int& y) {
    static const QRegularExpression totals(QStringLiteral("^X=(-?\\d+) Y=(-?\\d+)"));
    while (const auto line = mount.ReadLine(std::chrono::milliseconds(0))) {
        const auto m = totals.match(QString::fromStdString(*line));
        if (!m.hasMatch()) continue;
        x = m.captured(1).toInt();
        y = m.captured(2).toInt();
    }
}

bool Script(CMainFrame& w, ChildProcess& mount, const QString& script, const ChartSimulator& chart,
            const DemoSettings& settings, const QDir& folder, DemoReport& report) {
    SyncOnStar(w);
    report.shownBefore = Shown(w);
    report.beforePicture = Picture(w, folder, QStringLiteral("demo-before.png"));
    Say(QStringLiteral("Synced on %1:   %2")
            .arg(QString::fromUtf8(kDemoStar.name), EquatorialText(report.shownBefore)));

    report.comPort = StartMount(mount, settings.mountSimulator, script);
    if (report.comPort.isEmpty()) {
        report.problem = QStringLiteral("cannot start %1").arg(settings.mountSimulator);
        return false;
    }
    qputenv("MIVLO_COM1", report.comPort.toLocal8Bit());
    Say(QStringLiteral("Simulated mount on %1 (MIVLO_COM1)").arg(report.comPort));
    if (!ConnectCom1(w)) {
        report.problem = QStringLiteral("COM1 (%1) did not connect").arg(report.comPort);
        return false;
    }
    Say(QStringLiteral("Configuración → Telescopio… → Conectar: COM1 connected"));

    const int slewMs = static_cast<int>(settings.slew.count());
    const bool slewed = WaitUntil(
        [&] {
            ReadTotals(mount, report.sentX, report.sentY);
            return report.sentX == kDemoSlewX && report.sentY == kDemoSlewY;
        },
        (kStillBeforeSeconds + 2) * 1000 + slewMs + 10000);
    if (!slewed) {
        report.problem = QStringLiteral("the mount did not finish its slew");
        return false;
    }
    WaitUntil([] { return false; }, kSettleMs);
    Say(QStringLiteral("The mount slewed %1 counts in X and %2 in Y:   %3   %4")
            .arg(report.sentX)
            .arg(report.sentY)
            .arg(EquatorialText(Shown(w)), HorizontalText(Shown(w))));

    if (!FollowTheTelescope(w)) {
        report.problem = QStringLiteral("the planetarium link did not switch on");
        return false;
    }
    Say(QStringLiteral("Herramientas → Cartes du Ciel… → \"Cartes du Ciel sigue a M.I.V.LO.\""));
    if (!WaitUntil([&] { return !Moves(chart).isEmpty(); }, kRefreshSeconds * 1000 + 5000)) {
        report.problem = QStringLiteral("the chart received no MOVE command");
        return false;
    }
    report.shownAfter = Shown(w);
    report.afterPicture = Picture(w, folder, QStringLiteral("demo-after.png"));
    return true;
}

}  // namespace

QString EquatorialText(const QStringList& s) {
    if (s.size() < 7) return {};
    return QStringLiteral("AR %1h %2m %3s   DEC %4° %5' %6\" %7")
        .arg(s[0], s[1], s[2], s[3], s[4], s[5], s[6]);
}

QString HorizontalText(const QStringList& s) {
    if (s.size() < 15) return {};
    return QStringLiteral("AZ %1° %2' %3\" %4   ALT %5° %6' %7\" %8")
        .arg(s[7], s[8], s[9], s[10], s[11], s[12], s[13], s[14]);
}

DemoReport RunDemo(const DemoSettings& settings) {
    DemoReport report;
    const QDir folder(settings.outputFolder);
    if (!QDir().mkpath(folder.path())) {
        report.problem = QStringLiteral("cannot make the folder %1").arg(folder.path());
        return report;
    }
    QTemporaryFile script;
    if (!script.open() || script.write(MountScript(settings.slew)) < 0 || !script.flush()) {
        report.problem = QStringLiteral("cannot write the mount's script");
        return report;
    }
    ChartSimulator chart(ChartSimulator::Settings{});
    if (!chart.Start()) {
        report.problem = QStringLiteral("cannot start the chart simulator");
        return report;
    }
    report.chartServer = QStringLiteral("127.0.0.1:%1").arg(chart.Port());
    qputenv("MIVLO_CIEL", report.chartServer.toLocal8Bit());
    Say(QStringLiteral("Simulated Cartes du Ciel on %1 (MIVLO_CIEL)").arg(report.chartServer));

    DemoSettings run = settings;
    if (run.mountSimulator.isEmpty()) run.mountSimulator = QStringLiteral(MIVLO_MOUNTSIM);
    ChildProcess mount;

    BoxRecorder boxes;
    CMainFrame w;
    WhenModalAppears(nullptr, [&](QWidget*) {
        report.ok = Script(w, mount, script.fileName(), chart, run, folder, report);
        w.EndDialog(IDCANCEL);
    });
    w.DoModal();
    // The program has let go of the port: the mount may hang up now. It has
    // nothing of its own to tidy, and what it still sends nobody reads.
    mount.Kill();
    chart.Stop();

    report.messages = boxes.Texts();
    report.moveCommands = Moves(chart);
    for (const QString& m : report.messages) Say(QStringLiteral("Message box: ") + m);
    for (const QString& m : report.moveCommands) Say(QStringLiteral("Chart received: ") + m);
    if (report.ok) {
        Say(QStringLiteral("Shown at the end:   %1   %2")
                .arg(EquatorialText(report.shownAfter), HorizontalText(report.shownAfter)));
        report.ok = !report.beforePicture.isEmpty() && !report.afterPicture.isEmpty();
        if (!report.ok) report.problem = QStringLiteral("cannot write the pictures");
    }
    if (report.ok)
        Say(QStringLiteral("Wrote %1 and %2").arg(report.beforePicture, report.afterPicture));
    return report;
}
