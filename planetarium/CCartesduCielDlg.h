#pragma once

#include "platform/CDialog.h"

class CMainFrame;

// "Cartes du Ciel": switches the two directions of the planetarium link and
// the refresh interval. Confirming opens or closes the conversation, starts
// or stops the refresh timer 2 of the main window and, when receiving is
// switched on, reads the chart's site and clock once.
class CCartesduCielDlg : public CDialog {
    Q_OBJECT

  public:
    explicit CCartesduCielDlg(CMainFrame* pPrincipal);

    int m_nRefresco = 0;
    int m_bSigue = 0;
    int m_bRecibe = 0;
    CMainFrame* m_pPrincipal;

  protected:
    void DoDataExchange(DataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

  private:
    void EmpezarRefresco();
    // Reads the chart's longitude, latitude and clock, each with a request of
    // its own; false when a reply was too short to read.
    bool LeerSitio();
};
