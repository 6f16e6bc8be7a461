#include "planetarium/CCartesduCielDlg.h"

#include <stdexcept>

#include "app/CMainFrame.h"
#include "planetarium/ChartText.h"
#include "platform/DataExchange.h"
#include "platform/MessageBox.h"
#include "res/ResourceIds.h"

namespace {

const char* const kServicio = "ciel";
const char* const kTema = "DdeSkyChart";
const char* const kItem = "DdeData";

void Informar(const char* texto) {
    AfxMessageBox(QString::fromUtf8(texto), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

CCartesduCielDlg::CCartesduCielDlg(CMainFrame* pPrincipal)
    : CDialog(IDD_CARTESDUCIEL, pPrincipal), m_pPrincipal(pPrincipal) {}

void CCartesduCielDlg::DoDataExchange(DataExchange& dx) {
    dx.Int(1000, m_nRefresco);
    dx.Range(m_nRefresco, 2, 3600);
    dx.Check(1037, m_bSigue);
    dx.Check(1038, m_bRecibe);
}

bool CCartesduCielDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    const CDDE& dde = m_pPrincipal->m_DDE;
    m_bSigue = dde.m_bEnviar;
    m_bRecibe = dde.m_bRecibir;
    m_nRefresco = dde.m_nIntervalo;
    UpdateData(false);
    return true;
}

void CCartesduCielDlg::OnOK() {
    if (!UpdateData(true)) return;
    CDDE& dde = m_pPrincipal->m_DDE;
    dde.m_bEnviar = m_bSigue;
    dde.m_bRecibir = m_bRecibe;

    if (m_bSigue == 0) {
        m_pPrincipal->KillTimer(dde.m_nTimerDDE);
        Informar("Cartes du Ciel no recibirá las coordenadas de M.I.V.LO.");
    } else if (dde.Conectar(kServicio, kTema)) {
        EmpezarRefresco();
        Informar("Cartes du Ciel recibirá las coordenadas de M.I.V.LO.");
    }

    if (m_bRecibe == 0) {
        if (m_bSigue == 0) {
            if (dde.Desconectar()) {
                Informar("M.I.V.LO. no recibirá las coordenadas de Cartes du Ciel.");
                m_pPrincipal->KillTimer(dde.m_nTimerDDE);
            }
        } else if (dde.m_hConv) {
            Informar("M.I.V.LO. no recibirá las coordenadas de Cartes du Ciel.");
        }
    } else if (dde.Conectar(kServicio, kTema)) {
        EmpezarRefresco();
        if (!LeerSitio()) return;  // the error was shown; the dialog stays open
        Informar("M.I.V.LO. recibirá las coordenadas de Cartes du Ciel.");
    }

    if (dde.m_bEnviar == 0 && dde.m_bRecibir == 0) dde.Desconectar();
    CDialog::OnOK();
}

void CCartesduCielDlg::EmpezarRefresco() {
    CDDE& dde = m_pPrincipal->m_DDE;
    dde.m_nIntervalo = m_nRefresco;
    dde.m_nTimerDDE = m_pPrincipal->SetTimer(2, dde.m_nIntervalo * 1000);
}

bool CCartesduCielDlg::LeerSitio() {
    CDDE& dde = m_pPrincipal->m_DDE;
    Telescopio& t = m_pPrincipal->m_Telescopio;
    try {
        const GMS lon = LeerLON(dde.RecibirDDE(kItem));
        t.m_dLongitud =
            Telescopio::GradosDesdeGMS(lon.nGrados, lon.nMinutos, lon.nSegundos, lon.bNorte);
        const GMS lat = LeerLAT(dde.RecibirDDE(kItem));
        t.m_dLatitud =
            Telescopio::GradosDesdeGMS(lat.nGrados, lat.nMinutos, lat.nSegundos, lat.bNorte);
        const HMS hora = LeerHora(dde.RecibirDDE(kItem));
        t.m_dTiempo = Telescopio::GradosDesdeHMS(hora.nHoras, hora.nMinutos, hora.nSegundos);
    } catch (const std::invalid_argument&) {
        ReportInvalidArgument();
        return false;
    }
    return true;
}
