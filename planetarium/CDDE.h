#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "model/GMS.h"
#include "model/HMS.h"
#include "planetarium/ConversationBackend.h"

// The link with the planetarium Cartes du Ciel: its state (directions,
// refresh interval and timer, the chart centre last read) and the DDE client
// conversation over which the chart is read and pointed. Everything runs on
// the user-interface thread; each transaction waits at most 3000 ms.
class CDDE {
  public:
    // Talks to Cartes du Ciel's command server (ChartServerBackend).
    CDDE();
    explicit CDDE(std::unique_ptr<ConversationBackend> backend);
    // Leaves an open conversation to the owner, who ends it before.
    virtual ~CDDE();
    CDDE(const CDDE&) = delete;
    CDDE& operator=(const CDDE&) = delete;

    // Ends any earlier instance and conversation, then opens both anew.
    // True when a conversation is open afterwards.
    bool Conectar(const std::string& servicio, const std::string& tema);
    // Pokes the text; a refused or unanswered poke passes silently.
    void EnviarDDE(const std::string& item, const std::string& datos);
    // The item's text up to its first zero byte; on failure shows
    // "Fallo en la recepción de datos DDE" and returns "NULL".
    std::string RecibirDDE(const std::string& item);
    // True only when both the conversation and the instance were ended.
    bool Desconectar();

    // The UI's modal OK box with the exclamation icon; texts are UTF-8. With
    // none installed, nothing is shown.
    void SetMessageBox(std::function<void(const std::string& utf8Text)> show);

    int m_bEnviar = 0;
    int m_bRecibir = 0;
    int m_nTimerDDE = 0;
    int m_nIntervalo = 5;
    HMS m_ARRecibida;
    GMS m_DECRecibida;
    std::uint32_t m_idInst = 0;
    ConversationHandle m_hConv;

  private:
    static constexpr unsigned kTimeoutMs = 3000;

    void EndInstance();

    std::unique_ptr<ConversationBackend> backend_;
    std::function<void(const std::string&)> showMessage_;
};
