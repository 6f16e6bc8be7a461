#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QThread>
#include <functional>

#include "app/CMainFrame.h"
#include "res/ResourceIds.h"
#include "tests/support/RunModal.h"
#include "tests/support/TextList.h"
#include "tools/automation/ModalScript.h"

namespace {

int ConVentana(CMainFrame& w, const std::function<void(CMainFrame&)>& body) {
    return RunModal<CMainFrame>(w, body);
}

QStringList Cajas(CMainFrame& w, std::initializer_list<int> ids) {
    QStringList t;
    for (const int id : ids) t << w.GetDlgItemText(id);
    return t;
}

QStringList Ecuatoriales(CMainFrame& w) {
    return Cajas(w, {1000, 1001, 1002, 1004, 1005, 1006, 1007});
}
QStringList Horizontales(CMainFrame& w) {
    return Cajas(w, {1008, 1009, 1010, 1011, 1012, 1013, 1014, 1015});
}

TEST(CMainFrame, OpensWithTheInitialDisplay) {
    CMainFrame w;
    ConVentana(w, [](CMainFrame& v) {
        EXPECT_EQ(v.windowTitle(), QStringLiteral("M.I.V.LO."));
        EXPECT_EQ(Ecuatoriales(v), L({"0", "0", "0", "0", "0", "0", "Norte"}));
        EXPECT_EQ(Horizontales(v), L({"0", "0", "0", "Este", "0", "0", "0", "Cenit"}));
        EXPECT_EQ(Cajas(v, {1016, 1017, 1018, 1020, 1021, 1022}),
                  L({"0", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(v.GetCurSel(1029), 0);
        EXPECT_EQ(v.focusWidget(), v.GetDlgItem(1016));
        EXPECT_FALSE(v.windowIcon().isNull());
    });
}

TEST(CMainFrame, GoToSyncsOnTheTypedStar) {
    const struct {
        const char* caso;
        const char* cajas[6];
        int hemisferio;
        QStringList muestra;
    } casos[] = {
        {"Polaris",
         {"2", "31", "48", "89", "15", "51"},
         0,
         L({"2", "31", "48", "89", "15", "51", "Norte"})},
        {"all zero shows south",
         {"0", "0", "0", "0", "0", "0"},
         0,
         L({"0", "0", "0", "0", "0", "0", "Sur"})},
        {"emptied minutes",
         {
             "5",
             "",
             "7",
             "10",
             "20",
             "30",
         },
         1,
         L({"5", "0", "7", "10", "20", "30", "Sur"})},
        {"25 hours",
         {"25", "0", "0", "10", "0", "0"},
         0,
         L({"1", "0", "0", "10", "0", "0", "Norte"})},
        {"100 degrees north",
         {"1", "0", "0", "100", "0", "0"},
         0,
         L({"13", "0", "0", "80", "0", "0", "Norte"})},
        {"no hemisphere is south",
         {"1", "0", "0", "10", "0", "0"},
         -1,
         L({"1", "0", "0", "10", "0", "0", "Sur"})},
    };
    CMainFrame w;
    ConVentana(w, [&](CMainFrame& v) {
        for (const auto& c : casos) {
            int i = 0;
            for (const int id : {1016, 1017, 1018, 1020, 1021, 1022}) {
                v.SetDlgItemText(id, QString::fromUtf8(c.cajas[i++]));
            }
            v.SetCurSel(1029, c.hemisferio);
            v.OnGoTo();
            EXPECT_EQ(Ecuatoriales(v), c.muestra) << c.caso;
        }
    });
}

TEST(CMainFrame, EnterInTheGoToBoxSyncsAndLeavesTheHorizontalBoxes) {
    CMainFrame w;
    ConVentana(w, [](CMainFrame& v) {
        v.OnCommRxChar(0, 1);
        const QStringList antes = Horizontales(v);
        v.SetDlgItemText(1016, QStringLiteral("6"));
        QTest::keyClick(v.GetDlgItem(1016), Qt::Key_Return);
        EXPECT_EQ(v.GetDlgItemText(1000), QStringLiteral("6"));
        EXPECT_EQ(v.m_Telescopio.m_dAR, 90.0);
        EXPECT_EQ(Horizontales(v), antes);
    });
}

TEST(CMainFrame, EveryByteRedrawsTheFifteenBoxes) {
    CMainFrame w;
    ConVentana(w, [](CMainFrame& v) {
        for (const int id : {1000, 1001, 1002, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1012,
                             1013, 1014, 1015}) {
            v.SetDlgItemText(id, QStringLiteral("x"));
        }
        EXPECT_EQ(v.OnCommRxChar(0x00, 3), 0);  // a stray byte: moves nothing
        EXPECT_EQ(Ecuatoriales(v), L({"0", "0", "0", "0", "0", "0", "Sur"}));
        EXPECT_EQ(Horizontales(v), L({"89", "59", "59", "Oeste", "0", "0", "0", "Cenit"}));

        // A whole packet of X = +22 moves the right ascension by one degree.
        for (const int b : {0x40, 22, 0x00}) v.OnCommRxChar(static_cast<std::uintptr_t>(b), 1);
        EXPECT_EQ(v.m_Telescopio.m_dAR, 1.0);
        EXPECT_EQ(Ecuatoriales(v), L({"0", "4", "0", "0", "0", "0", "Sur"}));
    });
}

TEST(CMainFrame, TickOneAdvancesTheSkyAHairBelowASecond) {
    CMainFrame w;
    ConVentana(w, [](CMainFrame& v) {
        const QStringList horizontales = Horizontales(v);
        v.OnTimer(1);
        EXPECT_EQ(Ecuatoriales(v), L({"0", "0", "0", "0", "0", "0", "Sur"}));
        v.OnTimer(1);
        EXPECT_EQ(v.GetDlgItemText(1002), QStringLiteral("1"));
        EXPECT_EQ(Horizontales(v), horizontales);

        v.SetDlgItemText(1016, QStringLiteral("2"));
        v.SetDlgItemText(1017, QStringLiteral("31"));
        v.SetDlgItemText(1018, QStringLiteral("48"));
        v.OnGoTo();
        v.OnTimer(1);
        EXPECT_EQ(v.GetDlgItemText(1002), QStringLiteral("48"));
        v.OnTimer(1);
        EXPECT_EQ(v.GetDlgItemText(1002), QStringLiteral("49"));

        const double ar = v.m_Telescopio.m_dAR;
        v.OnTimer(7);
        EXPECT_EQ(v.m_Telescopio.m_dAR, ar);
    });
}

TEST(CMainFrame, LateTicksCatchUp) {
    CMainFrame w;
    ConVentana(w, [](CMainFrame& v) {
        v.SetTimer(1, 50);
        QThread::msleep(520);  // a busy UI thread: the ticks merge
        const double porTick = 0.0041666666666660005;
        EXPECT_TRUE(WaitUntil([&] { return v.m_Telescopio.m_dAR >= 10 * porTick - 1e-12; }, 2000));
        v.KillTimer(1);
    });
}

TEST(CMainFrame, ResetClearsOnlyTheGoToBox) {
    CMainFrame w;
    ConVentana(w, [](CMainFrame& v) {
        v.SetDlgItemText(1016, QStringLiteral("3"));
        v.SetDlgItemText(1022, QStringLiteral("9"));
        v.SetCurSel(1029, 1);
        v.OnGoTo();
        const QStringList posicion = Ecuatoriales(v);
        const double ar = v.m_Telescopio.m_dAR;
        v.OnReset();
        EXPECT_EQ(Cajas(v, {1016, 1017, 1018, 1020, 1021, 1022}),
                  L({"0", "0", "0", "0", "0", "0"}));
        EXPECT_EQ(v.GetCurSel(1029), 0);
        EXPECT_EQ(Ecuatoriales(v), posicion);
        EXPECT_EQ(v.m_Telescopio.m_dAR, ar);
    });
}

TEST(CMainFrame, HelpDoesNothingAndAboutOpensFromBothMenus) {
    CMainFrame w;
    ConVentana(w, [](CMainFrame& v) {
        const QStringList antes = Ecuatoriales(v);
        v.findChild<QAction*>(QStringLiteral("32774"))->trigger();
        QApplication::processEvents();
        EXPECT_EQ(QApplication::activeModalWidget(), &v);
        EXPECT_EQ(Ecuatoriales(v), antes);

        for (const char* accion : {"32775", "16"}) {
            QString titulo;
            WhenModalAppears(&v, [&](QWidget* d) {
                ASSERT_NE(d, nullptr);
                titulo = d->windowTitle();
                QTest::mouseClick(d->findChild<QWidget*>(QStringLiteral("1")), Qt::LeftButton);
            });
            v.findChild<QAction*>(QString::fromUtf8(accion))->trigger();
            EXPECT_EQ(titulo, QStringLiteral("Acerca de M.I.V.LO.")) << accion;
        }
        // The window menu offered in the client area.
        auto* menu = v.findChild<QAction*>(QStringLiteral("16"))->parent();
        QStringList textos;
        for (QAction* a : qobject_cast<QMenu*>(menu)->actions()) textos << a->text();
        EXPECT_EQ(textos, L({"Minimizar", "Cerrar", "", "&Acerca de MIVLO..."}));
    });
}

TEST(CMainFrame, EscapeClosesTheProgram) {
    CMainFrame w;
    WhenModalAppears(nullptr, [](QWidget* v) { QTest::keyClick(v, Qt::Key_Escape); });
    EXPECT_EQ(w.DoModal(), IDCANCEL);
}

}  // namespace
