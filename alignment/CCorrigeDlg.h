#pragma once

#include "model/PosicionMostrada.h"
#include "platform/CDialog.h"

class CMainFrame;

// "Corregir alineación": from where two stars should be and where the
// telescope read them, corrects the pointing and tells the user how to
// finish aligning the polar axis on Polaris.
class CCorrigeDlg : public CDialog {
    Q_OBJECT

  public:
    explicit CCorrigeDlg(CMainFrame* pPrincipal);

    void OnCorregir();
    void OnAceptarOrigenTeorico();
    void OnAceptarDestinoTeorico();
    void OnAceptarOrigenReal();
    void OnAceptarDestinoReal();
    void OnAdquirirOrigenTeorico();
    void OnAdquirirDestinoTeorico();
    void OnAdquirirOrigenReal();
    void OnAdquirirDestinoReal();

    double m_dAROrigenTeorico = 0;
    double m_dDECOrigenTeorico = 0;
    double m_dAROrigenReal = 0;
    double m_dDECOrigenReal = 0;
    double m_dARDestinoTeorico = 0;
    double m_dDECDestinoTeorico = 0;
    double m_dARDestinoReal = 0;
    double m_dDECDestinoReal = 0;
    CMainFrame* m_pPrincipal;

  protected:
    bool OnInitDialog() override;
    void OnCommand(int id) override;

  private:
    // Blocks are numbered 0 to 3: theoretical origin and destination, real
    // origin and destination.
    void Aceptar(int bloque, double& ar, double& dec);
    void Mostrar(int bloque, const HMS& ar, const GMS& dec);
    void AdquirirTeorico(int bloque);
    void AdquirirReal(int bloque);
};
