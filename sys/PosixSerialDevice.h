#pragma once

#include <termios.h>

#include <string>

#include "sys/SerialDevice.h"

// A serial line on a POSIX terminal device, through termios.
class PosixSerialDevice : public SerialDevice {
  public:
    PosixSerialDevice() = default;
    ~PosixSerialDevice() override;

    PosixSerialDevice(const PosixSerialDevice&) = delete;
    PosixSerialDevice& operator=(const PosixSerialDevice&) = delete;

    // The device of COMn: the environment variable MIVLO_COMn where it is set
    // and not empty, else /dev/ttyS(n-1). Empty for COM0, which never exists.
    static std::string DevicePath(unsigned port);

    int Open(unsigned port) override;
    void Close() override;
    bool IsOpen() const override { return m_nDescriptor >= 0; }

    int SetReadTimeouts() override;
    int ReadSettings() override;
    int BuildSettings(unsigned baud, char parity, unsigned dataBits, unsigned stopBits) override;
    int ApplySettings() override;
    void Purge() override;
    // The settings as read and built, before they are applied.
    const termios& PendingSettings() const { return m_Settings; }

    int WaitForEvent(const StopSignal& stop, bool watchInput, SerialEvent& event) override;
    int BytesWaiting(int& count) override;
    int ReadByte(std::uint8_t& byte) override;

  private:
    int HoldRtsOn();
    bool IsPseudoTerminal() const;

    int m_nDescriptor = -1;
    termios m_Settings{};
};
