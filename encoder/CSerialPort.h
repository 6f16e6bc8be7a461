#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "encoder/CommMessages.h"
#include "encoder/CommOwner.h"
#include "sys/SerialDevice.h"
#include "sys/StopSignal.h"

class OwnerHandOff;

// The encoder link's serial port driver. It opens COMn with the mouse's line
// settings and runs a listening thread that hands every received byte to the
// owner's thread as WM_COMM_RXCHAR, one at a time, waiting until each has been
// handled before it reads the next. Its operations are called from the
// owner's (UI) thread.
class CSerialPort {
  public:
    // Uses the system's serial devices.
    CSerialPort();
    explicit CSerialPort(std::unique_ptr<SerialDevice> device);
    virtual ~CSerialPort();

    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens COMn in place of any port open before, ending the listening first.
    // False only when it cannot be opened (no such port, or in use): nothing is
    // shown and no port is left open. A configuration step that fails is shown
    // in the error box, and the port is kept with the settings it then has.
    bool OpenPort(CommOwner* pNotifyWnd, unsigned nPort, unsigned nBaud, char cParity,
                  unsigned nDataBits, unsigned nStopBits, std::uint32_t dwCommEvents);
    // Starts a listening thread on the open port, ending a running one first.
    // False when no thread could be made.
    bool StartListening();
    // Ends the listening thread, if one runs, and returns once it has ended;
    // nothing reaches the owner after that. The port stays open. Always true.
    bool StopListening();

    // The text of the error box for a failed call of the system.
    static std::string ErrorReportText(const std::string& operation, const std::string& description,
                                       unsigned port);

  private:
    void Configure(unsigned nBaud, char cParity, unsigned nDataBits, unsigned nStopBits,
                   std::uint32_t dwCommEvents);
    int SetEventMask(std::uint32_t dwCommEvents);

    void ListenThread(const std::shared_ptr<OwnerHandOff>& handOff);
    bool OnPortEvent(OwnerHandOff& handOff);
    bool DrainInput(OwnerHandOff& handOff);
    int BytesWaiting(int& count);
    bool Deliver(OwnerHandOff& handOff, std::function<void(CommOwner&)> task);
    bool Notify(OwnerHandOff& handOff, unsigned message, std::uintptr_t wParam);
    void GiveUp(const char* operation, int error, OwnerHandOff& handOff);

    std::string ErrorText(const char* operation, int error) const;
    void ReportError(const char* operation, int error);

    std::unique_ptr<std::thread> m_pThread;
    // Shared with the tasks that the running listener has posted.
    std::shared_ptr<OwnerHandOff> m_pHandOff;
    // Guards the port between the UI thread and the listener.
    std::mutex m_Lock;
    StopSignal m_hStopEvent;
    std::unique_ptr<SerialDevice> m_hPort;
    std::uint32_t m_dwEventMask = 0;
    CommOwner* m_pNotifyWnd = nullptr;
    unsigned m_nPort = 0;
};
