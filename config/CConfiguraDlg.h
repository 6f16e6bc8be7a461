#pragma once

#include "platform/CDialog.h"

class CMainFrame;

// "Configuración del telescopio": connects and disconnects the encoder link
// at once, and edits the teeth counts and the time difference, which reach
// the telescope only through "Aceptar".
class CConfiguraDlg : public CDialog {
    Q_OBJECT

  public:
    explicit CConfiguraDlg(CMainFrame* pPrincipal);

    void OnConectar();
    void OnDesconectar();

    int m_nEncoder = 0;
    int m_nMontura = 0;
    int m_nDiferencia = 0;
    CMainFrame* m_pPrincipal;

  protected:
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCommand(int id) override;

  private:
    void MostrarEstado(bool conectado);
};
