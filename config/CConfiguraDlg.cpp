#include "config/CConfiguraDlg.h"

#include "app/CMainFrame.h"
#include "encoder/CommMessages.h"
#include "platform/DataExchange.h"
#include "res/ResourceIds.h"

CConfiguraDlg::CConfiguraDlg(CMainFrame* pPrincipal)
    : CDialog(IDD_CONFIGURA, pPrincipal),
      m_nEncoder(pPrincipal->m_Telescopio.m_nDientesEncoder),
      m_nMontura(pPrincipal->m_Telescopio.m_nDientesMontura),
      m_nDiferencia(pPrincipal->m_Telescopio.m_nDifHoraria),
      m_pPrincipal(pPrincipal) {}

void CConfiguraDlg::DoDataExchange(DataExchange& dx) {
    dx.Int(1001, m_nEncoder);
    dx.Range(m_nEncoder, 1, 10000);
    dx.Int(1002, m_nMontura);
    dx.Range(m_nMontura, 1, 10000);
    dx.Int(1003, m_nDiferencia);
    dx.Range(m_nDiferencia, -24, 24);
}

bool CConfiguraDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    MostrarEstado(m_pPrincipal->m_Telescopio.m_bConectado);
    SetCurSel(1028, 0);
    UpdateData(false);
    return true;
}

void CConfiguraDlg::OnCommand(int id) {
    if (id == 1024) return OnConectar();
    if (id == 1025) return OnDesconectar();
    CDialog::OnCommand(id);
}

void CConfiguraDlg::OnConectar() {
    Telescopio& t = m_pPrincipal->m_Telescopio;
    if (!t.m_bConectado) {
        const int n = GetCurSel(1028) + 1;
        bool abierto = true;
        if (n == t.m_nPuertoActual) {
            t.m_Puerto.StartListening();
        } else if (t.m_Puerto.OpenPort(m_pPrincipal, static_cast<unsigned>(n), 1200, 'N', 7, 1,
                                       EV_RXCHAR | EV_CTS)) {
            t.m_nPuertoActual = n;
            t.m_Puerto.StartListening();
        } else {
            // The failed open closed whatever port was open: none is left to reuse.
            t.m_nPuertoActual = 0;
            abierto = false;
        }
        if (abierto) {
            t.m_nTimerEncoder = m_pPrincipal->SetTimer(1, 1000);
            t.m_bConectado = true;
            MostrarEstado(true);
        }
    }
    UpdateData(true);  // shows the prompt of a bad field; the outcome is not used
}

void CConfiguraDlg::OnDesconectar() {
    Telescopio& t = m_pPrincipal->m_Telescopio;
    if (!t.m_bConectado) return;
    t.m_Puerto.StopListening();
    m_pPrincipal->KillTimer(t.m_nTimerEncoder);
    t.m_bConectado = false;
    MostrarEstado(false);
}

void CConfiguraDlg::OnOK() {
    if (!UpdateData(true)) return;
    Telescopio& t = m_pPrincipal->m_Telescopio;
    t.m_nDientesEncoder = m_nEncoder;
    t.m_nDientesMontura = m_nMontura;
    t.m_nDifHoraria = m_nDiferencia;
    EndDialog(IDOK);
}

void CConfiguraDlg::OnCancel() {
    EndDialog(IDCANCEL);
}

void CConfiguraDlg::MostrarEstado(bool conectado) {
    SetDlgItemText(1000, conectado ? QStringLiteral("Conectado") : QStringLiteral("Desconectado"));
    EnableDlgItem(1024, !conectado);
    EnableDlgItem(1025, conectado);
}
