#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <algorithm>
#include <functional>
#include <iterator>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/CMainFrame.h"
#include "planetarium/CCartesduCielDlg.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"
#include "tools/chartsim/ChartSimulator.h"

// Qt's own worker threads (the window icon's image conversions) synchronise
// inside Qt's uninstrumented libraries, which ThreadSanitizer cannot see; what
// those libraries copy and free is left out, our own code is still checked.
extern "C" const char* __tsan_default_suppressions() {
    return "called_from_lib:libQt6Core.so.6\n"
           "called_from_lib:libQt6Gui.so.6\n";
}

// Message texts in failures, readable.
void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

using Fault = ChartSimulator::Fault;

const QString kEnviaSi = QString::fromUtf8("Cartes du Ciel recibirá las coordenadas de M.I.V.LO.");
const QString kEnviaNo =
    QString::fromUtf8("Cartes du Ciel no recibirá las coordenadas de M.I.V.LO.");
const QString kRecibeSi =
    QString::fromUtf8("M.I.V.LO. recibirá las coordenadas de Cartes du Ciel.");
const QString kRecibeNo =
    QString::fromUtf8("M.I.V.LO. no recibirá las coordenadas de Cartes du Ciel.");
const QString kFallo = QString::fromUtf8("Fallo en la recepción de datos DDE");
const QString kErrorInterno = QString::fromUtf8("Error interno de la aplicación.");

// A chart away from the simulator's defaults, so that every value read is
// known to come from it: south of the equator, west of Greenwich.
ChartSimulator::Settings Santiago(Fault fault = Fault::None) {
    ChartSimulator::Settings s;
    s.raHours = 18 + 36.0 / 60 + 56.0 / 3600;
    s.decDegrees = -(38 + 47.0 / 60 + 1.0 / 3600);
    s.fovDegrees = 2.5;
    s.latitude = -(33 + 30.0 / 60);
    s.longitudeWest = 70 + 15.0 / 60;
    s.clock = "2001-12-22T23:50:58";
    s.fault = fault;
    return s;
}

// What the user does in the link dialog: the two boxes, the interval typed,
// and the button pressed.
struct Entrada {
    bool sigue = false;
    bool recibe = false;
    const char* intervalo = "7";
    int boton = IDOK;
};

// What the dialog showed when it opened, whether pressing the button left it
// open, and if so whether the interval box had the focus.
struct Vista {
    bool sigue = false;
    bool recibe = false;
    QString intervalo;
    bool sigueAbierto = false;
    bool focoEnIntervalo = false;
};

// The main window, run modally, with the planetarium simulated on loopback
// and every message box accepted and recorded.
class ChartLink : public ::testing::Test {
  protected:
    void TearDown() override { qunsetenv("MIVLO_CIEL"); }

    void StartChart(ChartSimulator::Settings settings = Santiago()) {
        simulator.emplace(settings);
        ASSERT_TRUE(simulator->Start());
        qputenv("MIVLO_CIEL", QByteArray("127.0.0.1:") + QByteArray::number(simulator->Port()));
    }

    // A planetarium that is not running: nothing listens on its port.
    void StopChart() { simulator.reset(); }

    // Runs the main window modally with body inside its modal loop.
    void RunWindow(CMainFrame& w, const std::function<void()>& body) {
        WhenModalAppears(nullptr, [&](QWidget* activo) {
            EXPECT_EQ(activo, &w);
            body();
            w.EndDialog(IDCANCEL);
        });
        w.DoModal();
    }

    // Opens "Cartes du Ciel..." from the menu as the user would and fills it
    // in; returns once the dialog has closed.
    Vista UseDialog(CMainFrame& w, const Entrada& e) {
        Vista v;
        WhenModalAppears(&w, [&](QWidget* activo) {
            auto* dlg = qobject_cast<CCartesduCielDlg*>(activo);
            ASSERT_NE(dlg, nullptr);
            v = {dlg->IsDlgButtonChecked(1037), dlg->IsDlgButtonChecked(1038),
                 dlg->GetDlgItemText(1000)};
            dlg->CheckDlgButton(1037, e.sigue);
            dlg->CheckDlgButton(1038, e.recibe);
            dlg->SetDlgItemText(1000, QString::fromUtf8(e.intervalo));
            Press(*dlg, e.boton);
            v.sigueAbierto = dlg->isVisible();
            if (v.sigueAbierto) {
                v.focoEnIntervalo = dlg->focusWidget() == dlg->GetDlgItem(1000);
                Press(*dlg, IDCANCEL);
            }
        });
        w.findChild<QAction*>(QString::number(ID_HERRAMIENTAS_CARTESDUCIEL))->trigger();
        return v;
    }

    static void Press(CDialog& dlg, int id) {
        qobject_cast<QAbstractButton*>(dlg.GetDlgItem(id))->click();
    }

    std::vector<std::string> ReceivedSince(std::size_t desde) const {
        const auto todo = simulator->Received();
        return {todo.begin() + static_cast<std::ptrdiff_t>(desde), todo.end()};
    }

    static long Count(const std::vector<std::string>& lineas, const std::string& comando) {
        return std::count(lineas.begin(), lineas.end(), comando);
    }

    static std::vector<std::string> Moves(const std::vector<std::string>& lineas) {
        std::vector<std::string> m;
        std::copy_if(lineas.begin(), lineas.end(), std::back_inserter(m),
                     [](const std::string& l) { return l.starts_with("MOVE"); });
        return m;
    }

    std::optional<ChartSimulator> simulator;
    std::optional<BoxRecorder> boxes{std::in_place};
};

TEST_F(ChartLink, ConfirmingSetsTheLinkAndTellsWhatChanged) {
    const struct {
        const char* caso;
        std::optional<Entrada> antes;
        Entrada ahora;
        QStringList textos;
        bool abierta;
        long peticiones;  // chart texts requested by the confirmation
        int intervalo;
    } casos[] = {
        {"first opening unchanged", {}, {false, false, "5"}, {kEnviaNo}, false, 0, 5},
        {"send only", {}, {true, false}, {kEnviaSi, kRecibeNo}, true, 0, 7},
        {"receive only", {}, {false, true}, {kEnviaNo, kRecibeSi}, true, 3, 7},
        {"both", {}, {true, true}, {kEnviaSi, kRecibeSi}, true, 3, 7},
        {"both switched off",
         Entrada{true, true, "9"},
         {false, false},
         {kEnviaNo, kRecibeNo},
         false,
         0,
         9},
        {"both cleared, a typed interval is not kept",
         Entrada{true, false, "9"},
         {false, false, "30"},
         {kEnviaNo, kRecibeNo},
         false,
         0,
         9},
        {"receive switched off, send kept",
         Entrada{true, true, "9"},
         {true, false},
         {kEnviaSi, kRecibeNo},
         true,
         0,
         7},
    };
    StartChart();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        CMainFrame w;
        RunWindow(w, [&] {
            if (c.antes) UseDialog(w, *c.antes);
            boxes->Clear();
            const std::size_t desde = simulator->Received().size();

            EXPECT_FALSE(UseDialog(w, c.ahora).sigueAbierto);

            EXPECT_EQ(boxes->Texts(), c.textos);
            for (const ShownBox& b : boxes->Boxes()) EXPECT_EQ(b.icon, QMessageBox::Information);
            EXPECT_EQ(Count(ReceivedSince(desde), "GETRA"), c.peticiones);
            EXPECT_EQ(w.m_DDE.m_bEnviar, c.ahora.sigue ? 1 : 0);
            EXPECT_EQ(w.m_DDE.m_bRecibir, c.ahora.recibe ? 1 : 0);
            EXPECT_EQ(static_cast<bool>(w.m_DDE.m_hConv), c.abierta);
            EXPECT_EQ(w.m_DDE.m_idInst != 0, c.abierta);
            EXPECT_EQ(w.m_DDE.m_nIntervalo, c.intervalo);
            EXPECT_EQ(w.KillTimer(2), c.abierta) << "refresh timer running";
        });
    }
}

TEST_F(ChartLink, FirstOpeningShowsBothBoxesClearAndFiveSeconds) {
    StartChart();
    CMainFrame w;
    RunWindow(w, [&] {
        const Vista v = UseDialog(w, {false, false, "5", IDCANCEL});
        EXPECT_FALSE(v.sigue);
        EXPECT_FALSE(v.recibe);
        EXPECT_EQ(v.intervalo, QStringLiteral("5"));
    });
}

TEST_F(ChartLink, ReceivingReadsTheSiteAndClockOnce) {
    StartChart();
    CMainFrame w;
    RunWindow(w, [&] {
        UseDialog(w, {false, true});
        EXPECT_DOUBLE_EQ(w.m_Telescopio.m_dLongitud, 70.25);
        EXPECT_DOUBLE_EQ(w.m_Telescopio.m_dLatitud, -33.5);
        EXPECT_DOUBLE_EQ(w.m_Telescopio.m_dTiempo, 23 * 15 + 50 * 0.25 + 58 / 240.0);
    });
}

TEST_F(ChartLink, ABadIntervalIsRefusedAndTheLinkUntouched) {
    const struct {
        const char* intervalo;
        QString aviso;
    } casos[] = {
        {"1", QString::fromUtf8("Escriba un número entero entre 2 y 3600.")},
        {"3601", QString::fromUtf8("Escriba un número entero entre 2 y 3600.")},
        {"", QString::fromUtf8("Escriba un número entero.")},
    };
    StartChart();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.intervalo);
        CMainFrame w;
        RunWindow(w, [&] {
            boxes->Clear();
            const Vista v = UseDialog(w, {true, true, c.intervalo});
            EXPECT_TRUE(v.sigueAbierto);
            EXPECT_TRUE(v.focoEnIntervalo);
            ASSERT_EQ(boxes->Texts(), QStringList{c.aviso});
            EXPECT_EQ(boxes->Boxes()[0].icon, QMessageBox::Warning);
            EXPECT_EQ(w.m_DDE.m_bEnviar, 0);
            EXPECT_EQ(w.m_DDE.m_bRecibir, 0);
            EXPECT_EQ(w.m_DDE.m_nIntervalo, 5);
            EXPECT_EQ(w.m_DDE.m_idInst, 0u);
            EXPECT_FALSE(w.KillTimer(2));
        });
    }
    EXPECT_TRUE(simulator->Received().empty());
}

TEST_F(ChartLink, CancelLeavesTheLinkAsItWas) {
    StartChart();
    CMainFrame w;
    RunWindow(w, [&] {
        UseDialog(w, {true, false, "9"});
        const ConversationHandle conversacion = w.m_DDE.m_hConv;
        boxes->Clear();
        const std::size_t desde = simulator->Received().size();

        const Vista v = UseDialog(w, {false, true, "30", IDCANCEL});

        EXPECT_TRUE(v.sigue);
        EXPECT_FALSE(v.recibe);
        EXPECT_EQ(v.intervalo, QStringLiteral("9"));
        EXPECT_TRUE(boxes->Texts().isEmpty());
        EXPECT_TRUE(ReceivedSince(desde).empty());
        EXPECT_EQ(w.m_DDE.m_bEnviar, 1);
        EXPECT_EQ(w.m_DDE.m_bRecibir, 0);
        EXPECT_EQ(w.m_DDE.m_nIntervalo, 9);
        EXPECT_EQ(w.m_DDE.m_hConv, conversacion);
        EXPECT_TRUE(w.KillTimer(2));
    });
}

TEST_F(ChartLink, APlanetariumNotRunningIsSilentButTheChoiceIsKept) {
    const struct {
        const char* caso;
        Entrada ahora;
        QStringList textos;
    } casos[] = {
        {"send", {true, false}, {}},
        {"receive", {false, true}, {kEnviaNo}},
        {"both", {true, true}, {}},
    };
    StartChart();
    StopChart();
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        CMainFrame w;
        RunWindow(w, [&] {
            boxes->Clear();
            EXPECT_FALSE(UseDialog(w, c.ahora).sigueAbierto);
            EXPECT_EQ(boxes->Texts(), c.textos);
            EXPECT_EQ(w.m_DDE.m_nIntervalo, 5);
            EXPECT_FALSE(w.m_DDE.m_hConv);
            EXPECT_FALSE(w.KillTimer(2));

            const Vista siguiente = UseDialog(w, {false, false, "5", IDCANCEL});
            EXPECT_EQ(siguiente.sigue, c.ahora.sigue);
            EXPECT_EQ(siguiente.recibe, c.ahora.recibe);
        });
    }
}

TEST_F(ChartLink, AFailedSiteReadingStopsTheConfirmationAndKeepsWhatWasDone) {
    StartChart(Santiago(Fault::Refuse));
    CMainFrame w;
    RunWindow(w, [&] {
        EXPECT_TRUE(UseDialog(w, {false, true, "60"}).sigueAbierto);
        EXPECT_EQ(boxes->Texts(), (QStringList{kEnviaNo, kFallo, kErrorInterno}));
        EXPECT_EQ(boxes->Boxes()[1].icon, QMessageBox::Warning);
        EXPECT_EQ(boxes->Boxes()[2].icon, QMessageBox::Critical);
        EXPECT_EQ(w.m_DDE.m_bRecibir, 1);
        EXPECT_EQ(w.m_DDE.m_nIntervalo, 60);
        EXPECT_TRUE(w.m_DDE.m_hConv);
        EXPECT_EQ(w.m_Telescopio.m_dLongitud, 0.0);
        EXPECT_TRUE(w.KillTimer(2));
    });
}

// The telescope half a second past 5h 3m 7s, +12° 4' 9", so that the
// truncated display reads those whole seconds.
void PointAt5h3m7s(CMainFrame& w) {
    w.m_Telescopio.m_dAR = (5 + 3 / 60.0 + 7.5 / 3600) * 15;
    w.m_Telescopio.m_dDEC = 12 + 4 / 60.0 + 9.5 / 3600;
}

QStringList GoToBoxes(const CMainFrame& w) {
    QStringList t;
    for (const int id : {1016, 1017, 1018, 1020, 1021, 1022}) t << w.GetDlgItemText(id);
    t << QString::number(w.GetCurSel(1029));
    return t;
}

TEST_F(ChartLink, EachTickReadsTheChartCentreAndPointsTheChart) {
    const QStringList kSantiago = {"18", "36", "56", "38", "47", "1", "1"};
    const QStringList kSinTocar = {"0", "0", "0", "0", "0", "0", "0"};
    const struct {
        const char* caso;
        Entrada enlace;
        QStringList goTo;
        std::vector<std::string> moves;
    } casos[] = {
        {"send only",
         {true, false, "60"},
         kSinTocar,
         {"MOVE RA:5h3m7.00s DEC:+12d4m9.0s FOV:+90d00m00s"}},
        {"receive only", {false, true, "60"}, kSantiago, {}},
        {"both: the field of view comes from the chart",
         {true, true, "60"},
         kSantiago,
         {"MOVE RA:5h3m7.00s DEC:+12d4m9.0s FOV:+02d30m00s"}},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.caso);
        StartChart();
        CMainFrame w;
        RunWindow(w, [&] {
            UseDialog(w, c.enlace);
            PointAt5h3m7s(w);
            boxes->Clear();
            const std::size_t desde = simulator->Received().size();

            w.OnTimer(2);

            EXPECT_EQ(GoToBoxes(w), c.goTo);
            EXPECT_EQ(Moves(ReceivedSince(desde)), c.moves);
            EXPECT_TRUE(boxes->Texts().isEmpty());
        });
    }
}

TEST_F(ChartLink, TheChartFollowsTheTelescopeAndComesBackToTheGoToBox) {
    StartChart();
    CMainFrame w;
    RunWindow(w, [&] {
        UseDialog(w, {true, true, "60"});
        PointAt5h3m7s(w);
        w.OnTimer(2);
        w.OnReset();
        w.OnTimer(2);
        EXPECT_EQ(GoToBoxes(w), (QStringList{"5", "3", "7", "12", "4", "9", "0"}));
    });
}

TEST_F(ChartLink, TheRealTimerPointsTheChartEveryInterval) {
    StartChart();
    CMainFrame w;
    RunWindow(w, [&] {
        // Started before the timer is, so the times below are never short.
        QElapsedTimer reloj;
        reloj.start();
        UseDialog(w, {true, false, "2"});
        const auto moves = [&] { return Moves(simulator->Received()).size(); };
        ASSERT_TRUE(WaitUntil([&] { return moves() >= 1; }));
        EXPECT_GE(reloj.elapsed(), 1900);
        ASSERT_TRUE(WaitUntil([&] { return moves() >= 2; }));
        EXPECT_GE(reloj.elapsed(), 3900);
    });
}

TEST_F(ChartLink, AStalledChartShowsOneTicksBoxesAtATime) {
    StartChart(Santiago(Fault::Stall));
    CMainFrame w;
    RunWindow(w, [&] {
        boxes.reset();
        w.m_DDE.m_bRecibir = 1;
        ASSERT_TRUE(w.m_DDE.Conectar("ciel", "DdeSkyChart"));
        std::optional<BoxRecorder> resto;
        QString primera;
        std::size_t antes = 0;
        std::size_t despues = 0;
        // While the first tick's box waits, another tick comes due.
        WhenModalAppears(&w, [&](QWidget* caja) {
            auto* box = qobject_cast<QMessageBox*>(caja);
            ASSERT_NE(box, nullptr);
            primera = box->text();
            resto.emplace();
            antes = simulator->Received().size();
            w.OnTimer(2);
            despues = simulator->Received().size();
            box->buttons().value(0)->click();
        });
        w.OnTimer(2);
        EXPECT_EQ(primera, kFallo);
        EXPECT_EQ(despues, antes) << "a tick ran while the previous one waited";
        ASSERT_TRUE(resto);
        EXPECT_EQ(resto->Texts(), QStringList{kErrorInterno});
        EXPECT_EQ(resto->Boxes()[0].icon, QMessageBox::Critical);
    });
}

}  // namespace
