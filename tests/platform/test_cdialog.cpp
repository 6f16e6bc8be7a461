#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "platform/CDialog.h"
#include "platform/DataExchange.h"
#include "platform/MessageBox.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

namespace {

TEST(AfxMessageBox, UsesTheProgramsCaptionAndTheAskedIcon) {
    BoxRecorder boxes;
    AfxMessageBox(QStringLiteral("sin icono"));
    AfxMessageBox(QStringLiteral("info"), MB_OK | MB_ICONINFORMATION);
    AfxMessageBox(QStringLiteral("alto"), MB_OK | MB_ICONSTOP);
    ShowApplicationErrorBox(QStringLiteral("error"));
    ASSERT_EQ(boxes.Boxes().size(), 4u);
    const struct {
        const char* caption;
        const char* texto;
        QMessageBox::Icon icono;
    } esperado[] = {
        {"MIVLO", "sin icono", QMessageBox::Warning},
        {"MIVLO", "info", QMessageBox::Information},
        {"MIVLO", "alto", QMessageBox::Critical},
        {"Application Error", "error", QMessageBox::Critical},
    };
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(boxes.Boxes()[i].caption, QString::fromUtf8(esperado[i].caption));
        EXPECT_EQ(boxes.Boxes()[i].text, QString::fromUtf8(esperado[i].texto));
        EXPECT_EQ(boxes.Boxes()[i].icon, esperado[i].icono);
    }
}

TEST(AfxMessageBox, ButtonReadsAceptar) {
    QString boton;
    WhenModalAppears(nullptr, [&](QWidget* w) {
        auto* b = w->findChild<QPushButton*>(QStringLiteral("1"));
        ASSERT_NE(b, nullptr);
        boton = b->text();
        b->click();
    });
    AfxMessageBox(QStringLiteral("x"));
    EXPECT_EQ(boton, QStringLiteral("Aceptar"));
}

// The configuration template with two checked integer fields.
class Campos : public CDialog {
  public:
    Campos() : CDialog(IDD_CONFIGURA) {}
    int a = 0;
    int b = 0;
    using CDialog::OnCommand;

  protected:
    void DoDataExchange(DataExchange& dx) override {
        dx.Int(1001, a);
        dx.Range(a, 1, 10000);
        dx.Int(1002, b);
        dx.Range(b, -24, 24);
    }
};

TEST(DataExchange, StopsAtTheFirstBadFieldWithItsPrompt) {
    const struct {
        const char* a;
        const char* b;
        bool valido;
        const char* aviso;
        const char* foco;
    } casos[] = {
        {"12abc", " -24", true, "", ""},
        {"0", "x", false, "Escriba un número entero entre 1 y 10000.", "1001"},
        {"", "x", false, "Escriba un número entero.", "1001"},
        {"5", "25", false, "Escriba un número entero entre -24 y 24.", "1002"},
    };
    for (const auto& c : casos) {
        Campos dlg;
        dlg.show();
        dlg.SetDlgItemText(1001, QString::fromUtf8(c.a));
        dlg.SetDlgItemText(1002, QString::fromUtf8(c.b));
        BoxRecorder boxes;
        EXPECT_EQ(dlg.UpdateData(true), c.valido) << c.a;
        if (c.valido) {
            EXPECT_TRUE(boxes.Texts().isEmpty());
            EXPECT_EQ(dlg.a, 12);
            EXPECT_EQ(dlg.b, -24);
            continue;
        }
        EXPECT_EQ(boxes.Texts(), QStringList{QString::fromUtf8(c.aviso)}) << c.a;
        auto* foco = qobject_cast<QLineEdit*>(dlg.focusWidget());
        ASSERT_NE(foco, nullptr);
        EXPECT_EQ(foco->objectName(), QString::fromUtf8(c.foco));
        EXPECT_EQ(foco->selectedText(), foco->text());
    }
}

TEST(CDialog, EscapeCancelsAndEnterPressesTheDefaultButton) {
    Campos dlg;
    WhenModalAppears(nullptr, [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    Campos otro;
    WhenModalAppears(nullptr, [&](QWidget*) {
        otro.SetDlgItemText(1001, QStringLiteral("7"));
        otro.SetDlgItemText(1002, QStringLiteral("3"));
        QTest::keyClick(otro.GetDlgItem(1001), Qt::Key_Return);
    });
    EXPECT_EQ(otro.DoModal(), IDOK);
    EXPECT_EQ(otro.a, 7);
}

TEST(CDialog, DigitBoxesRefuseWhatIsNotADigit) {
    const struct {
        int plantilla;
        int caja;
        const char* tecleado;
        const char* queda;
    } casos[] = {
        {IDD_MIVLO_DIALOG, 1016, "-1a2", "12"},
        {IDD_CONFIGURA, 1003, "-1a2", "-12"},  // the time difference takes its sign
        {IDD_CONFIGURA, 1003, "1-2", "12"},
        {IDD_CONFIGURA, 1001, "1a-2", "1a-2"},  // any characters: the exchange reads it
    };
    for (const auto& c : casos) {
        CDialog dlg(c.plantilla);
        dlg.show();
        QTest::keyClicks(dlg.GetDlgItem(c.caja), QString::fromUtf8(c.tecleado));
        EXPECT_EQ(dlg.GetDlgItemText(c.caja), QString::fromUtf8(c.queda)) << c.caja;
    }
}

}  // namespace
