#include "app/CMainFrame.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QStyleHints>

#include <stdexcept>

#include "alignment/CCorrigeDlg.h"
#include "app/CAboutDlg.h"
#include "config/CConfiguraDlg.h"
#include "encoder/CommMessages.h"
#include "planetarium/CCartesduCielDlg.h"
#include "planetarium/ChartText.h"
#include "planetarium/PointingCommand.h"
#include "platform/DataExchange.h"
#include "platform/MessageBox.h"
#include "res/AppIcon.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace {

QString Hemisferio(std::uint8_t norte, const char* si, const char* no) {
    return QString::fromUtf8(norte == 1 ? si : no);
}

}  // namespace

CMainFrame::CMainFrame(QWidget* parent)
    : CDialog(IDD_MIVLO_DIALOG, parent), m_hIcon(LoadAppIcon()) {
    // A blinking text cursor wakes the program twice a second for as long as
    // it waits; a steady one lets it sleep through a night on battery.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    m_DDE.SetMessageBox(
        [](const std::string& texto) { AfxMessageBox(QString::fromStdString(texto)); });
}

CMainFrame::~CMainFrame() = default;

bool CMainFrame::OnInitDialog() {
    CDialog::OnInitDialog();

    const QString acercaDe = QString::fromUtf8(LoadStringResource(IDS_ABOUTBOX));
    if (!acercaDe.isEmpty()) {
        m_pMenuSistema = new QMenu(this);
        const struct {
            QString texto;
            unsigned comando;
        } items[] = {{QStringLiteral("Minimizar"), SC_MINIMIZE},
                     {QStringLiteral("Cerrar"), SC_CLOSE},
                     {QString(), 0},
                     {acercaDe, IDM_ABOUTBOX}};
        for (const auto& item : items) {
            if (item.comando == 0) {
                m_pMenuSistema->addSeparator();
                continue;
            }
            QAction* a = m_pMenuSistema->addAction(item.texto);
            a->setObjectName(QString::number(item.comando));
            const unsigned comando = item.comando;
            connect(a, &QAction::triggered, this, [this, comando] { OnSysCommand(comando, 0); });
        }
    }

    setWindowIcon(m_hIcon);
    OnReset();
    return true;
}

void CMainFrame::DoDataExchange(DataExchange& dx) {
    dx.Int(1000, m_nARHoras);
    dx.Int(1001, m_nARMinutos);
    dx.Int(1002, m_nARSegundos);
    dx.Int(1004, m_nDECGrados);
    dx.Int(1005, m_nDECMinutos);
    dx.Int(1006, m_nDECSegundos);
    dx.Text(1007, m_strDECHemisferio);
    dx.Int(1008, m_nAZGrados);
    dx.Int(1010, m_nAZSegundos);
    dx.Int(1009, m_nAZMinutos);
    dx.Text(1011, m_strAZSentido);
    dx.Int(1012, m_nALTGrados);
    dx.Int(1013, m_nALTMinutos);
    dx.Int(1014, m_nALTSegundos);
    dx.Text(1015, m_strALTSentido);
    dx.Int(1016, m_nGotoHoras);
    dx.Range(m_nGotoHoras, 0, 24);
    dx.Int(1017, m_nGotoMinutos);
    dx.Range(m_nGotoMinutos, 0, 59);
    dx.Int(1018, m_nGotoSegundos);
    dx.Range(m_nGotoSegundos, 0, 59);
    dx.Int(1020, m_nGotoGrados);
    dx.Range(m_nGotoGrados, 0, 180);
    dx.Int(1021, m_nGotoDECMinutos);
    dx.Range(m_nGotoDECMinutos, 0, 59);
    dx.Int(1022, m_nGotoDECSegundos);
    dx.Range(m_nGotoDECSegundos, 0, 59);
    dx.Selection(1029, m_nGotoHemisferio);
}

void CMainFrame::OnCommand(int id) {
    switch (id) {
        case 1024:
            OnGoTo();
            return;
        case 1027:
            OnReset();
            return;
        case ID_CONFIGURACION_TELESCOPIO: {
            CConfiguraDlg dlg(this);
            dlg.DoModal();
            return;
        }
        case ID_HERRAMIENTAS_CORREGIRALINEACION: {
            CCorrigeDlg dlg(this);
            dlg.DoModal();
            return;
        }
        case ID_HERRAMIENTAS_CARTESDUCIEL: {
            CCartesduCielDlg dlg(this);
            dlg.DoModal();
            return;
        }
        case ID_AYUDA_ACERCADE: {
            CAboutDlg dlg;
            dlg.DoModal();
            return;
        }
        default:
            break;
    }
    CDialog::OnCommand(id);
}

long CMainFrame::OnCommRxChar(std::uintptr_t wParam, std::intptr_t /*lParam*/) {
    m_Telescopio.ProcesarByte(static_cast<int>(wParam));
    const PosicionMostrada p =
        Telescopio::DescomponerPosicion(m_Telescopio.m_dAR, m_Telescopio.m_dDEC);
    const auto [altura, azimut] =
        m_Telescopio.AltAzDesdeEcuatoriales(m_Telescopio.m_dAR, m_Telescopio.m_dDEC);
    const PosicionMostrada a = Telescopio::DescomponerPosicion(0, altura);
    const PosicionMostrada z = Telescopio::DescomponerPosicion(0, azimut);
    MostrarEcuatoriales(p);
    MostrarHorizontales(a, z);
    return 0;
}

void CMainFrame::OnTimer(int id) {
    const PosicionMostrada p0 =
        Telescopio::DescomponerPosicion(m_Telescopio.m_dAR, m_Telescopio.m_dDEC);
    if (id == 1) {
        // A late tick, or ticks merged, still add every second that passed.
        for (int i = TimerTicksDue(); i > 0; --i) m_Telescopio.AvanzarAR(1000);
        MostrarEcuatoriales(
            Telescopio::DescomponerPosicion(m_Telescopio.m_dAR, m_Telescopio.m_dDEC));
    }
    if (id == 2 && !m_bRefrescando) {
        m_bRefrescando = true;
        try {
            RefrescarCarta(p0);
        } catch (const std::invalid_argument&) {
            ReportInvalidArgument();  // the next tick tries again
        }
        m_bRefrescando = false;
    }
}

void CMainFrame::RefrescarCarta(const PosicionMostrada& p0) {
    std::string respuesta;
    if (m_DDE.m_bRecibir != 0) {
        respuesta = m_DDE.RecibirDDE("DdeData");
        m_DDE.m_ARRecibida = LeerAR(respuesta);
        m_DDE.m_DECRecibida = LeerDEC(respuesta);
        SetDlgItemInt(1016, m_DDE.m_ARRecibida.nHoras);
        SetDlgItemInt(1017, m_DDE.m_ARRecibida.nMinutos);
        SetDlgItemInt(1018, m_DDE.m_ARRecibida.nSegundos);
        SetDlgItemInt(1020, m_DDE.m_DECRecibida.nGrados);
        SetDlgItemInt(1021, m_DDE.m_DECRecibida.nMinutos);
        SetDlgItemInt(1022, m_DDE.m_DECRecibida.nSegundos);
        SetCurSel(1029, m_DDE.m_DECRecibida.bNorte == 1 ? 0 : 1);
    }
    if (m_DDE.m_bEnviar != 0) {
        m_DDE.EnviarDDE("DdeData", BuildPointingCommand(p0, m_DDE.m_bRecibir != 0, respuesta));
    }
}

void CMainFrame::OnGoTo() {
    const int h = GetDlgItemInt(1016);
    const int m = GetDlgItemInt(1017);
    const int s = GetDlgItemInt(1018);
    const int d = GetDlgItemInt(1020);
    const int m2 = GetDlgItemInt(1021);
    const int s2 = GetDlgItemInt(1022);
    const std::uint8_t norte = GetCurSel(1029) == 0 ? 1 : 0;
    m_Telescopio.m_dAR = Telescopio::GradosDesdeHMS(h, m, s);
    m_Telescopio.m_dDEC = Telescopio::GradosDesdeGMS(d, m2, s2, norte);
    MostrarEcuatoriales(Telescopio::DescomponerPosicion(m_Telescopio.m_dAR, m_Telescopio.m_dDEC));
}

void CMainFrame::OnReset() {
    for (const int id : {1016, 1017, 1018, 1020, 1021, 1022}) SetDlgItemInt(id, 0);
    SetCurSel(1029, 0);
}

void CMainFrame::OnSysCommand(unsigned nID, long /*lParam*/) {
    if ((nID & 0xFFF0) == IDM_ABOUTBOX) {
        CAboutDlg dlg;
        dlg.DoModal();
        return;
    }
    if ((nID & 0xFFF0) == SC_MINIMIZE) showMinimized();
    if ((nID & 0xFFF0) == SC_CLOSE) close();
}

void CMainFrame::OnDestroy() {
    if (m_Telescopio.m_bConectado) m_Telescopio.m_Puerto.StopListening();
    if (m_DDE.m_bEnviar == 1) m_DDE.Desconectar();
    CDialog::OnDestroy();
}

void CMainFrame::contextMenuEvent(QContextMenuEvent* event) {
    if (m_pMenuSistema != nullptr) m_pMenuSistema->exec(event->globalPos());
}

void CMainFrame::MostrarEcuatoriales(const PosicionMostrada& p) {
    SetDlgItemInt(1000, p.AR.nHoras);
    SetDlgItemInt(1001, p.AR.nMinutos);
    SetDlgItemInt(1002, p.AR.nSegundos);
    SetDlgItemInt(1004, p.DEC.nGrados);
    SetDlgItemInt(1005, p.DEC.nMinutos);
    SetDlgItemInt(1006, p.DEC.nSegundos);
    SetDlgItemText(1007, Hemisferio(p.DEC.bNorte, "Norte", "Sur"));
}

void CMainFrame::MostrarHorizontales(const PosicionMostrada& altura,
                                     const PosicionMostrada& azimut) {
    SetDlgItemInt(1008, azimut.DEC.nGrados);
    SetDlgItemInt(1009, azimut.DEC.nMinutos);
    SetDlgItemInt(1010, azimut.DEC.nSegundos);
    SetDlgItemText(1011, Hemisferio(azimut.DEC.bNorte, "Este", "Oeste"));
    SetDlgItemInt(1012, altura.DEC.nGrados);
    SetDlgItemInt(1013, altura.DEC.nMinutos);
    SetDlgItemInt(1014, altura.DEC.nSegundos);
    SetDlgItemText(1015, Hemisferio(altura.DEC.bNorte, "Cenit", "Nadir"));
}

void CMainFrame::PostToOwnerThread(std::function<void()> task) {
    // Queued on the window's thread; dropped by Qt if the window is gone.
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

long CMainFrame::OnCommNotification(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    if (message != WM_COMM_RXCHAR) return 0;
    const long resultado = OnCommRxChar(wParam, lParam);
    PaintIfDue();
    return resultado;
}

void CMainFrame::ShowApplicationError(const std::string& text) {
    ShowApplicationErrorBox(
        QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size())));
}
