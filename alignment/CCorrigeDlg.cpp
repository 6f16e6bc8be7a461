#include "alignment/CCorrigeDlg.h"

#include "app/CMainFrame.h"
#include "platform/MessageBox.h"
#include "res/ResourceIds.h"

namespace {

constexpr int kOrigenTeorico = 0;
constexpr int kDestinoTeorico = 1;
constexpr int kOrigenReal = 2;
constexpr int kDestinoReal = 3;

// Each block's first box (five more follow: h, min, s, deg, min, s) and list.
struct Cajas {
    int primera;
    int lista;
};
constexpr Cajas kBloques[] = {{1000, 1028}, {1006, 1029}, {1012, 1030}, {1018, 1031}};

const char* const kInstrucciones =
    "\t\tCORRECCIÓN CALCULADA:\n"
    "\n"
    "1.-Desplace el telescopio con los mandos de movimiento lento hasta las coordenadas\n"
    "     AR:2h31m48s DEC:89deg15min51s (coordenadas de Polaris).\n"
    "2.-Bloquee los embragues.\n"
    "3.-Mueva la montura en Altitud-Azimut sin tocar los mandos de movimiento lento\n"
    "     hasta centrar Polaris en el ocular.";

}  // namespace

CCorrigeDlg::CCorrigeDlg(CMainFrame* pPrincipal)
    : CDialog(IDD_CORRIGE, pPrincipal), m_pPrincipal(pPrincipal) {}

bool CCorrigeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_dAROrigenTeorico = Telescopio::GradosDesdeHMS(2, 31, 48);
    m_dDECOrigenTeorico = Telescopio::GradosDesdeGMS(89, 15, 51, 1);
    m_dAROrigenReal = m_dDECOrigenReal = 0;
    m_dARDestinoTeorico = m_dDECDestinoTeorico = 0;
    m_dARDestinoReal = m_dDECDestinoReal = 0;
    const int polaris[] = {2, 31, 48, 89, 15, 51};
    for (int id = 1000; id <= 1023; ++id) SetDlgItemInt(id, id <= 1005 ? polaris[id - 1000] : 0);
    return true;
}

void CCorrigeDlg::OnCommand(int id) {
    switch (id) {
        case 1036:
            return OnCorregir();
        case 1024:
            return OnAceptarOrigenTeorico();
        case 1027:
            return OnAceptarDestinoTeorico();
        case 1025:
            return OnAceptarOrigenReal();
        case 1026:
            return OnAceptarDestinoReal();
        case 1032:
            return OnAdquirirOrigenTeorico();
        case 1033:
            return OnAdquirirDestinoTeorico();
        case 1034:
            return OnAdquirirOrigenReal();
        case 1035:
            return OnAdquirirDestinoReal();
        default:
            CDialog::OnCommand(id);
    }
}

void CCorrigeDlg::OnAceptarOrigenTeorico() {
    Aceptar(kOrigenTeorico, m_dAROrigenTeorico, m_dDECOrigenTeorico);
}
void CCorrigeDlg::OnAceptarDestinoTeorico() {
    Aceptar(kDestinoTeorico, m_dARDestinoTeorico, m_dDECDestinoTeorico);
}
void CCorrigeDlg::OnAceptarOrigenReal() {
    Aceptar(kOrigenReal, m_dAROrigenReal, m_dDECOrigenReal);
}
void CCorrigeDlg::OnAceptarDestinoReal() {
    Aceptar(kDestinoReal, m_dARDestinoReal, m_dDECDestinoReal);
}
void CCorrigeDlg::OnAdquirirOrigenTeorico() {
    AdquirirTeorico(kOrigenTeorico);
}
void CCorrigeDlg::OnAdquirirDestinoTeorico() {
    AdquirirTeorico(kDestinoTeorico);
}
void CCorrigeDlg::OnAdquirirOrigenReal() {
    AdquirirReal(kOrigenReal);
}
void CCorrigeDlg::OnAdquirirDestinoReal() {
    AdquirirReal(kDestinoReal);
}

void CCorrigeDlg::Aceptar(int bloque, double& ar, double& dec) {
    const int c = kBloques[bloque].primera;
    const int h = GetDlgItemInt(c);
    const int m = GetDlgItemInt(c + 1);
    const int s = GetDlgItemInt(c + 2);
    const int g = GetDlgItemInt(c + 3);
    const int m2 = GetDlgItemInt(c + 4);
    const int s2 = GetDlgItemInt(c + 5);
    const std::uint8_t norte = GetCurSel(kBloques[bloque].lista) == 0 ? 1 : 0;
    ar = Telescopio::GradosDesdeHMS(h, m, s);
    dec = Telescopio::GradosDesdeGMS(g, m2, s2, norte);
}

void CCorrigeDlg::Mostrar(int bloque, const HMS& ar, const GMS& dec) {
    const int c = kBloques[bloque].primera;
    SetDlgItemInt(c, ar.nHoras);
    SetDlgItemInt(c + 1, ar.nMinutos);
    SetDlgItemInt(c + 2, ar.nSegundos);
    SetDlgItemInt(c + 3, dec.nGrados);
    SetDlgItemInt(c + 4, dec.nMinutos);
    SetDlgItemInt(c + 5, dec.nSegundos);
    SetCurSel(kBloques[bloque].lista, dec.bNorte != 0 ? 0 : 1);
}

void CCorrigeDlg::AdquirirTeorico(int bloque) {
    const CDDE& dde = m_pPrincipal->m_DDE;
    if (dde.m_bRecibir == 0) return;
    Mostrar(bloque, dde.m_ARRecibida, dde.m_DECRecibida);
}

void CCorrigeDlg::AdquirirReal(int bloque) {
    const Telescopio& t = m_pPrincipal->m_Telescopio;
    if (!t.m_bConectado) return;
    const PosicionMostrada p = Telescopio::DescomponerPosicion(t.m_dAR, t.m_dDEC);
    Mostrar(bloque, p.AR, p.DEC);
}

void CCorrigeDlg::OnCorregir() {
    Telescopio& t = m_pPrincipal->m_Telescopio;
    const auto [cAR, cDEC] = Telescopio::CalcularCorreccion(
        m_dAROrigenTeorico, m_dDECOrigenTeorico, m_dAROrigenReal, m_dDECOrigenReal,
        m_dARDestinoTeorico, m_dDECDestinoTeorico, m_dARDestinoReal, m_dDECDestinoReal);
    t.m_dAR = t.m_dAR + cAR;
    t.m_dDEC = t.m_dDEC + cDEC;
    m_pPrincipal->MostrarEcuatoriales(Telescopio::DescomponerPosicion(t.m_dAR, t.m_dDEC));
    AfxMessageBox(QString::fromUtf8(kInstrucciones), MB_OK | MB_ICONINFORMATION);
    EndDialog(IDCANCEL);
}
