#pragma once

#include <QIcon>
#include <QString>
#include <cstdint>

#include "encoder/CommOwner.h"
#include "model/Telescopio.h"
#include "planetarium/CDDE.h"
#include "platform/CDialog.h"

class QMenu;

// The main window: the live display of where the telescope points, the
// "GO-TO:" box, and the menu that opens the other dialogs. It owns the
// telescope for the whole run and receives the encoder's bytes.
class CMainFrame : public CDialog, public CommOwner {
    Q_OBJECT

  public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    // One byte from the encoder link: moves the position and redraws the
    // fifteen position boxes. Always returns 0; the port is not used.
    long OnCommRxChar(std::uintptr_t wParam, std::intptr_t lParam);
    void OnGoTo();
    void OnReset();
    void OnSysCommand(unsigned nID, long lParam);
    // Timer 1: the sky's turning; timer 2: the planetarium refresh.
    void OnTimer(int id) override;

    // CommOwner: the serial port's listening thread reaches the window here.
    void PostToOwnerThread(std::function<void()> task) override;
    long OnCommNotification(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void ShowApplicationError(const std::string& text) override;

    Telescopio m_Telescopio;
    CDDE m_DDE;
    QString m_strDECHemisferio = QStringLiteral("Norte");
    QString m_strAZSentido = QStringLiteral("Este");
    QString m_strALTSentido = QStringLiteral("Cenit");
    int m_nARHoras = 0;
    int m_nARMinutos = 0;
    int m_nARSegundos = 0;
    int m_nDECGrados = 0;
    int m_nDECMinutos = 0;
    int m_nDECSegundos = 0;
    int m_nAZGrados = 0;
    int m_nAZSegundos = 0;
    int m_nAZMinutos = 0;
    int m_nALTGrados = 0;
    int m_nALTMinutos = 0;
    int m_nALTSegundos = 0;
    int m_nGotoHoras = 0;
    int m_nGotoMinutos = 0;
    int m_nGotoSegundos = 0;
    int m_nGotoGrados = 0;
    int m_nGotoDECMinutos = 0;
    int m_nGotoDECSegundos = 0;
    int m_nGotoHemisferio = 0;
    QIcon m_hIcon;

    // The equatorial boxes 1000 to 1007 from a decomposed position.
    void MostrarEcuatoriales(const PosicionMostrada& p);

  protected:
    bool OnInitDialog() override;
    void DoDataExchange(DataExchange& dx) override;
    void OnCommand(int id) override;
    void OnDestroy() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    // Timer 2: reads the chart's centre into the GO-TO box and points the
    // chart at the telescope, from the position as it stood when the tick came.
    void RefrescarCarta(const PosicionMostrada& p0);
    void MostrarHorizontales(const PosicionMostrada& altura, const PosicionMostrada& azimut);

    // The window menu's commands, offered in the client area because the
    // desktop's window manager owns the real one.
    QMenu* m_pMenuSistema = nullptr;
    // A refresh that is still waiting on the planetarium or on one of its
    // boxes; a tick that comes due meanwhile is skipped.
    bool m_bRefrescando = false;
};
