#include "planetarium/CDDE.h"

#include "planetarium/ChartServerBackend.h"

CDDE::CDDE() : CDDE(std::make_unique<ChartServerBackend>()) {}

CDDE::CDDE(std::unique_ptr<ConversationBackend> backend) : backend_(std::move(backend)) {}

CDDE::~CDDE() = default;

bool CDDE::Conectar(const std::string& servicio, const std::string& tema) {
    EndInstance();
    m_idInst = 0;
    const unsigned result = backend_->Initialize(m_idInst);
    if (result == ConversationBackend::kDllUsage ||
        result == ConversationBackend::kInvalidParameter ||
        result == ConversationBackend::kSysError) {
        return false;
    }
    const StringHandle service = backend_->CreateStringHandle(m_idInst, servicio);
    const StringHandle topic = backend_->CreateStringHandle(m_idInst, tema);
    m_hConv = backend_->Connect(m_idInst, service, topic);
    backend_->FreeStringHandle(m_idInst, service);
    backend_->FreeStringHandle(m_idInst, topic);
    return static_cast<bool>(m_hConv);
}

void CDDE::EnviarDDE(const std::string& item, const std::string& datos) {
    const StringHandle itemHandle = backend_->CreateStringHandle(m_idInst, item);
    // The terminating zero travels with the text.
    backend_->ClientTransaction(datos.c_str(), datos.size() + 1, m_hConv, itemHandle,
                                ConversationBackend::kTextFormat, ConversationBackend::kPoke,
                                kTimeoutMs);
    backend_->FreeStringHandle(m_idInst, itemHandle);
}

std::string CDDE::RecibirDDE(const std::string& item) {
    const StringHandle itemHandle = backend_->CreateStringHandle(m_idInst, item);
    const DataHandle data = backend_->ClientTransaction(nullptr, 0, m_hConv, itemHandle,
                                                        ConversationBackend::kTextFormat,
                                                        ConversationBackend::kRequest, kTimeoutMs);
    backend_->FreeStringHandle(m_idInst, itemHandle);
    if (!data) {
        if (showMessage_) {
            showMessage_("Fallo en la recepción de datos DDE");
        }
        return "NULL";
    }
    std::string texto = backend_->AccessData(data);
    backend_->UnaccessData(data);
    backend_->FreeDataHandle(data);
    return texto;
}

bool CDDE::Desconectar() {
    if (!backend_->Disconnect(m_hConv)) {
        return false;
    }
    m_hConv = {};
    const bool ended = backend_->Uninitialize(m_idInst);
    m_idInst = 0;
    return ended;
}

void CDDE::SetMessageBox(std::function<void(const std::string& utf8Text)> show) {
    showMessage_ = std::move(show);
}

void CDDE::EndInstance() {
    if (m_idInst == 0) {
        return;
    }
    if (m_hConv) {
        backend_->Disconnect(m_hConv);
        m_hConv = {};
    }
    backend_->Uninitialize(m_idInst);
    m_idInst = 0;
}
