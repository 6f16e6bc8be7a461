#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <memory>

#include "app/CMainFrame.h"
#include "config/CConfiguraDlg.h"
#include "tests/encoder/PseudoTerminal.h"
#include "tests/support/RunModal.h"
#include "tools/automation/ModalScript.h"

namespace {

// X = +22 counts: one degree of right ascension with the default teeth.
const std::vector<std::uint8_t> kUnGrado{0x40, 22, 0x00};

// The main window running, with COM1 and COM3 played by pseudo-terminals
// and COM2 naming a device that does not exist.
class ConfiguraTest : public ::testing::Test {
  protected:
    void SetUp() override {
        qputenv("MIVLO_COM1", QByteArray::fromStdString(com1.Path()));
        qputenv("MIVLO_COM2", "/dev/mivlo-no-such-port");
        qputenv("MIVLO_COM3", QByteArray::fromStdString(com3.Path()));
    }
    void TearDown() override {
        for (const char* v : {"MIVLO_COM1", "MIVLO_COM2", "MIVLO_COM3"}) qunsetenv(v);
    }

    // Runs body with the configuration dialog opened from the menu.
    void ConDialogo(const std::function<void(CConfiguraDlg&)>& body) {
        WithDialog<CConfiguraDlg>(
            &w, [this] { w.findChild<QAction*>(QStringLiteral("32771"))->trigger(); }, body);
    }

    void Ejecutar(const std::function<void()>& body) {
        RunModal<CMainFrame>(w, [&](CMainFrame&) { body(); });
    }

    static void Pulsar(CConfiguraDlg& d, int id) {
        QTest::mouseClick(d.GetDlgItem(id), Qt::LeftButton);
    }

    static QStringList Estado(CConfiguraDlg& d) {
        return {d.GetDlgItemText(1000), d.GetDlgItem(1024)->isEnabled() ? "on" : "off",
                d.GetDlgItem(1025)->isEnabled() ? "on" : "off", d.GetDlgItemText(1028)};
    }

    bool EsperarAR(double grados) {
        return WaitUntil([&] { return w.m_Telescopio.m_dAR >= grados - 1e-9; }, 5000);
    }

    PseudoTerminal com1;
    PseudoTerminal com3;
    CMainFrame w;
};

TEST_F(ConfiguraTest, FirstOpeningShowsTheDefaults) {
    Ejecutar([&] {
        ConDialogo([](CConfiguraDlg& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("Configuración del telescopio"));
            EXPECT_EQ(d.GetDlgItemText(1001), QStringLiteral("55"));
            EXPECT_EQ(d.GetDlgItemText(1002), QStringLiteral("144"));
            EXPECT_EQ(d.GetDlgItemText(1003), QStringLiteral("1"));
            EXPECT_EQ(Estado(d), QStringList({"Desconectado", "on", "off", "COM1"}));
        });
    });
}

TEST_F(ConfiguraTest, ConnectedBytesMoveTheMainWindowAndCancelKeepsTheLink) {
    BoxRecorder boxes;
    Ejecutar([&] {
        ConDialogo([&](CConfiguraDlg& d) {
            Pulsar(d, 1024);
            EXPECT_EQ(Estado(d), QStringList({"Conectado", "off", "on", "COM1"}));
            EXPECT_TRUE(w.m_Telescopio.m_bConectado);
            EXPECT_EQ(w.m_Telescopio.m_nPuertoActual, 1);
            EXPECT_EQ(w.m_Telescopio.m_nTimerEncoder, 1);
            com1.Send(kUnGrado);
            EXPECT_TRUE(EsperarAR(1.0));
            EXPECT_EQ(w.GetDlgItemText(1001), QStringLiteral("4"));  // 1 degree = 4 minutes
            Pulsar(d, 2);
        });
        EXPECT_TRUE(w.m_Telescopio.m_bConectado);
        com1.Send(kUnGrado);
        EXPECT_TRUE(EsperarAR(2.0));
        // Timer 1 runs: the sky turns.
        const double ar = w.m_Telescopio.m_dAR;
        EXPECT_TRUE(WaitUntil([&] { return w.m_Telescopio.m_dAR > ar; }, 3000));
    });
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ConfiguraTest, APortThatCannotOpenChangesNothing) {
    BoxRecorder boxes;
    Ejecutar([&] {
        ConDialogo([&](CConfiguraDlg& d) {
            d.SetCurSel(1028, 1);
            Pulsar(d, 1024);
            EXPECT_EQ(Estado(d), QStringList({"Desconectado", "on", "off", "COM2"}));
            EXPECT_FALSE(w.m_Telescopio.m_bConectado);
            EXPECT_EQ(w.m_Telescopio.m_nPuertoActual, 0);
        });
    });
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(ConfiguraTest, ReconnectingTheSamePortDiscardsWhatCameMeanwhile) {
    Ejecutar([&] {
        ConDialogo([&](CConfiguraDlg& d) {
            Pulsar(d, 1024);
            Pulsar(d, 1025);
            EXPECT_EQ(Estado(d), QStringList({"Desconectado", "on", "off", "COM1"}));
            com1.Send(kUnGrado);
            ASSERT_TRUE(com1.WaitForWaiting(3));
            Pulsar(d, 1024);
            com1.Send({0x40, 0x00, 22});  // one degree of declination
            EXPECT_TRUE(WaitUntil([&] { return w.m_Telescopio.m_dDEC >= 1.0; }, 5000));
            EXPECT_LT(w.m_Telescopio.m_dAR, 0.5);  // the packet sent while disconnected is gone
        });
    });
}

TEST_F(ConfiguraTest, AnotherPortClosesThePreviousOne) {
    Ejecutar([&] {
        ConDialogo([&](CConfiguraDlg& d) {
            Pulsar(d, 1024);
            Pulsar(d, 1025);
            d.SetCurSel(1028, 2);
            Pulsar(d, 1024);
            EXPECT_EQ(w.m_Telescopio.m_nPuertoActual, 3);
            com1.Send(kUnGrado);
            com3.Send({0x40, 0x00, 22});
            EXPECT_TRUE(WaitUntil([&] { return w.m_Telescopio.m_dDEC >= 1.0; }, 5000));
            QTest::qWait(100);
            EXPECT_EQ(w.m_Telescopio.m_dAR < 0.5, true);
        });
        // Reopened while connected on COM3: "Conectado", and COM1 selected.
        ConDialogo([](CConfiguraDlg& d) {
            EXPECT_EQ(Estado(d), QStringList({"Conectado", "off", "on", "COM1"}));
        });
    });
}

TEST_F(ConfiguraTest, AFailedOpenLeavesNoPortToReuse) {
    BoxRecorder boxes;
    Ejecutar([&] {
        ConDialogo([&](CConfiguraDlg& d) {
            Pulsar(d, 1024);
            Pulsar(d, 1025);
            d.SetCurSel(1028, 1);  // COM2 does not exist: COM1 is closed too
            Pulsar(d, 1024);
            EXPECT_EQ(w.m_Telescopio.m_nPuertoActual, 0);
            d.SetCurSel(1028, 0);
            Pulsar(d, 1024);  // COM1 is opened again, not taken as still open
            EXPECT_EQ(Estado(d), QStringList({"Conectado", "off", "on", "COM1"}));
            com1.Send(kUnGrado);
            EXPECT_TRUE(EsperarAR(1.0));
        });
    });
    EXPECT_TRUE(boxes.Boxes().empty()) << boxes.Texts().join("|").toStdString();
}

TEST_F(ConfiguraTest, AcceptChecksTheFieldsInOrder) {
    const struct {
        const char* encoder;
        const char* montura;
        const char* diferencia;
        const char* aviso;  // "" when accepted
        int encoderGuardado;
    } casos[] = {
        {"1", "10000", "-24", "", 1},
        {"10000", "1", "24", "", 10000},
        {"12abc", "144", "0", "", 12},
        {"0", "144", "1", "Escriba un número entero entre 1 y 10000.", 55},
        {"10001", "144", "1", "Escriba un número entero entre 1 y 10000.", 55},
        {"55", "", "1", "Escriba un número entero.", 55},
        {"55", "0", "1", "Escriba un número entero entre 1 y 10000.", 55},
        {"55", "144", "-25", "Escriba un número entero entre -24 y 24.", 55},
        {"55", "144", "25", "Escriba un número entero entre -24 y 24.", 55},
        {"x", "144", "99", "Escriba un número entero.", 55},  // only the first is reported
    };
    Ejecutar([&] {
        for (const auto& c : casos) {
            BoxRecorder boxes;
            ConDialogo([&](CConfiguraDlg& d) {
                d.SetDlgItemText(1001, QString::fromUtf8(c.encoder));
                d.SetDlgItemText(1002, QString::fromUtf8(c.montura));
                d.SetDlgItemText(1003, QString::fromUtf8(c.diferencia));
                Pulsar(d, 1);
                const bool aceptado = *c.aviso == '\0';
                EXPECT_EQ(d.isVisible(), !aceptado) << c.encoder;
                EXPECT_EQ(boxes.Texts(),
                          aceptado ? QStringList() : QStringList{QString::fromUtf8(c.aviso)});
            });
            EXPECT_EQ(w.m_Telescopio.m_nDientesEncoder, c.encoderGuardado) << c.encoder;
            w.m_Telescopio.m_nDientesEncoder = 55;
        }
    });
    EXPECT_EQ(w.m_Telescopio.m_nDifHoraria, 0);
}

TEST_F(ConfiguraTest, ConnectWithABadFieldConnectsThenPrompts) {
    BoxRecorder boxes;
    Ejecutar([&] {
        ConDialogo([&](CConfiguraDlg& d) {
            d.SetDlgItemText(1001, QStringLiteral("0"));
            Pulsar(d, 1024);
            EXPECT_TRUE(w.m_Telescopio.m_bConectado);
            EXPECT_EQ(boxes.Texts(),
                      QStringList{QStringLiteral("Escriba un número entero entre 1 y 10000.")});
        });
        EXPECT_EQ(w.m_Telescopio.m_nDientesEncoder, 55);
    });
}

TEST_F(ConfiguraTest, ClosingWhileConnectedEndsTheProgram) {
    Ejecutar([&] {
        ConDialogo([&](CConfiguraDlg& d) { Pulsar(d, 1024); });
        com1.Send(kUnGrado);
        EXPECT_TRUE(EsperarAR(1.0));
    });
    // The modal run has returned: the listening stopped with the window.
    com1.Send(kUnGrado);
    QTest::qWait(50);
    EXPECT_LT(w.m_Telescopio.m_dAR, 1.5);
}

}  // namespace
