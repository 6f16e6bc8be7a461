#include "encoder/CSerialPort.h"

#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

#include "encoder/OwnerHandOff.h"
#include "sys/PosixSerialDevice.h"

namespace {

// The notifications that a wake-up sends before its bytes, in this order,
// when their event class is in the port's mask.
constexpr std::array<std::pair<std::uint32_t, unsigned>, 5> kEventNotifications{{
    {EV_CTS, WM_COMM_CTS},
    {EV_RXFLAG, WM_COMM_RXFLAG},
    {EV_BREAK, WM_COMM_BREAK},
    {EV_ERR, WM_COMM_ERR},
    {EV_RING, WM_COMM_RING},
}};

}  // namespace

CSerialPort::CSerialPort() : CSerialPort(std::make_unique<PosixSerialDevice>()) {}

CSerialPort::CSerialPort(std::unique_ptr<SerialDevice> device) : m_hPort(std::move(device)) {}

CSerialPort::~CSerialPort() {
    StopListening();
    const std::lock_guard lock(m_Lock);
    m_hPort->Close();
}

bool CSerialPort::OpenPort(CommOwner* pNotifyWnd, unsigned nPort, unsigned nBaud, char cParity,
                           unsigned nDataBits, unsigned nStopBits, std::uint32_t dwCommEvents) {
    StopListening();
    // Set before the open, so that any report names the new port.
    m_pNotifyWnd = pNotifyWnd;
    m_nPort = nPort;
    const std::lock_guard lock(m_Lock);
    m_hPort->Close();
    m_dwEventMask = 0;
    if (m_hPort->Open(nPort) != 0) return false;
    Configure(nBaud, cParity, nDataBits, nStopBits, dwCommEvents);
    m_hPort->Purge();
    return true;
}

void CSerialPort::Configure(unsigned nBaud, char cParity, unsigned nDataBits, unsigned nStopBits,
                            std::uint32_t dwCommEvents) {
    const std::array<std::pair<const char*, std::function<int()>>, 5> steps{{
        {"SetCommTimeouts()", [&] { return m_hPort->SetReadTimeouts(); }},
        {"SetCommMask()", [&] { return SetEventMask(dwCommEvents); }},
        {"GetCommState()", [&] { return m_hPort->ReadSettings(); }},
        {"BuildCommDCB()",
         [&] { return m_hPort->BuildSettings(nBaud, cParity, nDataBits, nStopBits); }},
        {"SetCommState()", [&] { return m_hPort->ApplySettings(); }},
    }};
    for (const auto& [operation, step] : steps) {
        if (const int error = step(); error != 0) {
            ReportError(operation, error);
            return;
        }
    }
}

int CSerialPort::SetEventMask(std::uint32_t dwCommEvents) {
    if ((dwCommEvents & ~EV_ALL) != 0) return EINVAL;
    m_dwEventMask = dwCommEvents;
    return 0;
}

bool CSerialPort::StartListening() {
    // Two listeners would read the same port for the same owner.
    StopListening();
    {
        const std::lock_guard lock(m_Lock);
        // Whatever arrived while nobody listened is stale; purged here rather
        // than on the new thread, so that nothing sent after the start is lost.
        if (m_hPort->IsOpen()) m_hPort->Purge();
    }
    auto handOff = std::make_shared<OwnerHandOff>();
    try {
        m_pThread = std::make_unique<std::thread>([this, handOff] { ListenThread(handOff); });
    } catch (const std::system_error&) {
        return false;
    }
    m_pHandOff = std::move(handOff);
    return true;
}

bool CSerialPort::StopListening() {
    if (!m_pThread) return true;
    // The listener waits either on the port or on the owner's thread: wake both.
    m_pHandOff->Stop();
    m_hStopEvent.Raise();
    m_pThread->join();
    m_pThread.reset();
    m_pHandOff.reset();
    m_hStopEvent.Clear();
    return true;
}

// The port, the owner, the port number and the mask are only changed while no
// listener runs, so the listener reads them without the lock.
void CSerialPort::ListenThread(const std::shared_ptr<OwnerHandOff>& handOff) {
    const bool watchInput = (m_dwEventMask & EV_RXCHAR) != 0;
    for (;;) {
        SerialEvent event;
        if (const int error = m_hPort->WaitForEvent(m_hStopEvent, watchInput, event); error != 0) {
            return GiveUp("WaitCommEvent()", error, *handOff);
        }
        if (event.stop) return;
        if (event.input && !OnPortEvent(*handOff)) return;
        if (event.hungUp) return GiveUp("ReadFile()", EIO, *handOff);
    }
}

// False once listening is over.
bool CSerialPort::OnPortEvent(OwnerHandOff& handOff) {
    for (const auto& [eventClass, message] : kEventNotifications) {
        if ((m_dwEventMask & eventClass) != 0 && !Notify(handOff, message, 0)) return false;
    }
    return (m_dwEventMask & EV_RXCHAR) == 0 || DrainInput(handOff);
}

bool CSerialPort::DrainInput(OwnerHandOff& handOff) {
    int waiting = 0;
    int error = BytesWaiting(waiting);
    while (error == 0 && waiting > 0) {
        std::uint8_t byte = 0;
        {
            const std::lock_guard lock(m_Lock);
            error = m_hPort->ReadByte(byte);
        }
        if (error == 0 && !Notify(handOff, WM_COMM_RXCHAR, byte)) return false;
        if (error != 0 && error != EAGAIN) {
            GiveUp("ReadFile()", error, handOff);
            return false;
        }
        error = BytesWaiting(waiting);
    }
    // Only a line that has gone refuses to say how much is waiting.
    if (error != 0) {
        GiveUp("ReadFile()", error, handOff);
        return false;
    }
    return true;
}

int CSerialPort::BytesWaiting(int& count) {
    const std::lock_guard lock(m_Lock);
    return m_hPort->BytesWaiting(count);
}

bool CSerialPort::Deliver(OwnerHandOff& handOff, std::function<void(CommOwner&)> task) {
    CommOwner* owner = m_pNotifyWnd;
    // Like a message sent to no window: nothing happens.
    if (owner == nullptr) return true;
    // The task may run after this driver is gone: it holds the owner, not the driver.
    return handOff.Run(*owner, [owner, task = std::move(task)] { task(*owner); });
}

bool CSerialPort::Notify(OwnerHandOff& handOff, unsigned message, std::uintptr_t wParam) {
    const auto port = static_cast<std::intptr_t>(m_nPort);
    return Deliver(handOff, [message, wParam, port](CommOwner& owner) {
        owner.OnCommNotification(message, wParam, port);
    });
}

// A port that has failed would wake the listener at once for ever: it is
// reported once, and only a stop ends the thread.
void CSerialPort::GiveUp(const char* operation, int error, OwnerHandOff& handOff) {
    Deliver(handOff, [text = ErrorText(operation, error)](CommOwner& owner) {
        owner.ShowApplicationError(text);
    });
    m_hStopEvent.Wait();
}

std::string CSerialPort::ErrorReportText(const std::string& operation,
                                         const std::string& description, unsigned port) {
    return "WARNING:  " + operation + " Failed with the following error: \n" + description +
           "\nPort: " + std::to_string(port) + "\n";
}

std::string CSerialPort::ErrorText(const char* operation, int error) const {
    return ErrorReportText(operation, std::system_category().message(error), m_nPort);
}

void CSerialPort::ReportError(const char* operation, int error) {
    if (m_pNotifyWnd != nullptr) m_pNotifyWnd->ShowApplicationError(ErrorText(operation, error));
}
