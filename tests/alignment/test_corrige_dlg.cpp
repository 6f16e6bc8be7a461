#include <gtest/gtest.h>

#include <QAction>
#include <QMessageBox>
#include <QTest>

#include "alignment/CCorrigeDlg.h"
#include "app/CMainFrame.h"
#include "tests/support/RunModal.h"
#include "tools/automation/ModalScript.h"

namespace {

class CorrigeTest : public ::testing::Test {
  protected:
    // Runs body with the alignment dialog opened from the main window's menu.
    void ConDialogo(const std::function<void(CCorrigeDlg&)>& body) {
        RunModal<CMainFrame>(w, [&](CMainFrame&) {
            WithDialog<CCorrigeDlg>(
                &w, [this] { w.findChild<QAction*>(QStringLiteral("32773"))->trigger(); }, body);
        });
    }

    static void Pulsar(CCorrigeDlg& d, int id) {
        QTest::mouseClick(d.GetDlgItem(id), Qt::LeftButton);
    }

    static void Escribir(CCorrigeDlg& d, int primera, std::initializer_list<int> valores, int lista,
                         int hemisferio) {
        int id = primera;
        for (const int v : valores) d.SetDlgItemInt(id++, v);
        d.SetCurSel(lista, hemisferio);
    }

    static QStringList Bloque(CCorrigeDlg& d, int primera, int lista) {
        QStringList t;
        for (int id = primera; id < primera + 6; ++id) t << d.GetDlgItemText(id);
        t << QString::number(d.GetCurSel(lista));
        return t;
    }

    CMainFrame w;
};

const char* const kMensaje =
    "\t\tCORRECCIÓN CALCULADA:\n\n"
    "1.-Desplace el telescopio con los mandos de movimiento lento hasta las coordenadas\n"
    "     AR:2h31m48s DEC:89deg15min51s (coordenadas de Polaris).\n"
    "2.-Bloquee los embragues.\n"
    "3.-Mueva la montura en Altitud-Azimut sin tocar los mandos de movimiento lento\n"
    "     hasta centrar Polaris en el ocular.";

TEST_F(CorrigeTest, OpensOnPolarisWithNoHemisphereChosen) {
    ConDialogo([](CCorrigeDlg& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Corregir alineación"));
        EXPECT_EQ(Bloque(d, 1000, 1028), QStringList({"2", "31", "48", "89", "15", "51", "-1"}));
        for (const auto& [primera, lista] : {std::pair{1006, 1029}, {1012, 1030}, {1018, 1031}}) {
            EXPECT_EQ(Bloque(d, primera, lista), QStringList({"0", "0", "0", "0", "0", "0", "-1"}));
        }
        EXPECT_EQ(d.m_dAROrigenTeorico, 37.95);
        EXPECT_EQ(d.m_dDECOrigenTeorico, 89.26416666666667);
        // No hemisphere chosen counts as south.
        Pulsar(d, 1024);
        EXPECT_EQ(d.m_dDECOrigenTeorico, -89.26416666666667);
    });
}

TEST_F(CorrigeTest, CorrectAtOnceMovesBackByPolarisAndTellsWhatToDo) {
    BoxRecorder boxes;
    ConDialogo([&](CCorrigeDlg& d) {
        Pulsar(d, 1036);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(w.m_Telescopio.m_dAR, -37.95);
    EXPECT_EQ(w.m_Telescopio.m_dDEC, 0.0);
    EXPECT_EQ(w.GetDlgItemText(1000), QStringLiteral("21"));  // 24 h - 2 h 31 min 48 s
    EXPECT_EQ(w.GetDlgItemText(1001), QStringLiteral("28"));
    EXPECT_EQ(w.GetDlgItemText(1002), QStringLiteral("12"));
    EXPECT_EQ(w.GetDlgItemText(1007), QStringLiteral("Sur"));
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text.toUtf8().toStdString(), std::string(kMensaje));
    EXPECT_EQ(boxes.Boxes()[0].caption, QStringLiteral("MIVLO"));
    EXPECT_EQ(boxes.Boxes()[0].icon, QMessageBox::Information);
}

TEST_F(CorrigeTest, CorrectionFromTheAcceptedBlocks) {
    const struct {
        const char* caso;
        bool origenReal;
        double cAR;
        double cDEC;
    } casos[] = {
        {"destination off by one", false, 61.05, -1.0},
        {"the real origin changes nothing", true, 61.05, -1.0},
    };
    for (const auto& c : casos) {
        BoxRecorder boxes;
        CMainFrame ventana;
        RunModal<CMainFrame>(ventana, [&](CMainFrame&) {
            WithDialog<CCorrigeDlg>(
                &ventana, [&] { ventana.findChild<QAction*>(QStringLiteral("32773"))->trigger(); },
                [&](CCorrigeDlg& d) {
                    Pulsar(d, 1024);  // without a hemisphere the origin is south...
                    d.SetCurSel(1028, 0);
                    Pulsar(d, 1024);                                   // ...until "Norte" is chosen
                    Escribir(d, 1006, {6, 40, 0, 20, 0, 0}, 1029, 0);  // 100, 20
                    Pulsar(d, 1027);
                    Escribir(d, 1018, {6, 44, 0, 21, 0, 0}, 1031, 0);  // 101, 21
                    Pulsar(d, 1026);
                    if (c.origenReal) {
                        Escribir(d, 1012, {3, 0, 0, 50, 0, 0}, 1030, 1);
                        Pulsar(d, 1025);
                    }
                    Pulsar(d, 1036);
                });
        });
        EXPECT_EQ(ventana.m_Telescopio.m_dAR, c.cAR) << c.caso;
        EXPECT_EQ(ventana.m_Telescopio.m_dDEC, c.cDEC) << c.caso;
    }
}

TEST_F(CorrigeTest, AcquireNeedsItsSourceAndCopiesIt) {
    ConDialogo([&](CCorrigeDlg& d) {
        // Both guards off: nothing changes.
        for (const int boton : {1032, 1033, 1034, 1035}) Pulsar(d, boton);
        EXPECT_EQ(Bloque(d, 1006, 1029), QStringList({"0", "0", "0", "0", "0", "0", "-1"}));
        EXPECT_EQ(Bloque(d, 1018, 1031), QStringList({"0", "0", "0", "0", "0", "0", "-1"}));

        // Receiving before the first refresh: the chart centre is still zero, south.
        w.m_DDE.m_bRecibir = 1;
        Pulsar(d, 1033);
        EXPECT_EQ(Bloque(d, 1006, 1029), QStringList({"0", "0", "0", "0", "0", "0", "1"}));
        w.m_DDE.m_ARRecibida = {5, 3, 7};
        w.m_DDE.m_DECRecibida = {12, 4, 9, 1};
        Pulsar(d, 1032);
        EXPECT_EQ(Bloque(d, 1000, 1028), QStringList({"5", "3", "7", "12", "4", "9", "0"}));
        w.m_DDE.m_bRecibir = 0;

        // The encoder connected: the live position, folded past the pole.
        w.m_Telescopio.m_bConectado = true;
        w.m_Telescopio.m_dAR = 15.0;
        w.m_Telescopio.m_dDEC = 95.0;
        Pulsar(d, 1035);
        EXPECT_EQ(Bloque(d, 1018, 1031), QStringList({"13", "0", "0", "85", "0", "0", "0"}));
        w.m_Telescopio.m_bConectado = false;
    });
}

TEST_F(CorrigeTest, CancelChangesNothing) {
    ConDialogo([&](CCorrigeDlg& d) {
        Escribir(d, 1006, {6, 40, 0, 20, 0, 0}, 1029, 0);
        Pulsar(d, 1027);
        Pulsar(d, 2);
    });
    EXPECT_EQ(w.m_Telescopio.m_dAR, 0.0);
    EXPECT_EQ(w.m_Telescopio.m_dDEC, 0.0);
}

}  // namespace
