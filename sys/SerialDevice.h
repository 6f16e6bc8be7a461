#pragma once

#include <cstdint>

#include "sys/StopSignal.h"

// What woke a wait on a serial line; more than one can be set.
struct SerialEvent {
    bool stop = false;
    bool input = false;
    // The line has gone (an adapter unplugged, the far end of a pty closed).
    bool hungUp = false;
};

// A serial line as the encoder's driver uses it: opened exclusively,
// configured in steps, then read one byte at a time. Every operation that can
// fail returns 0 or the system's error code of the call that failed, taken
// right after it.
class SerialDevice {
  public:
    virtual ~SerialDevice() = default;

    // Opens COMn for this process alone; ENOENT, EBUSY etc. when it cannot.
    virtual int Open(unsigned port) = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;

    // Makes reads return at once: they are only made when bytes are waiting.
    virtual int SetReadTimeouts() = 0;
    // The line settings are read, changed and applied in three steps.
    virtual int ReadSettings() = 0;
    // EINVAL for a speed, parity, size or stop bits the line cannot take.
    virtual int BuildSettings(unsigned baud, char parity, unsigned dataBits, unsigned stopBits) = 0;
    // Applies the settings and holds RTS on.
    virtual int ApplySettings() = 0;
    // Drops whatever waits in the input and output queues.
    virtual void Purge() = 0;

    // Blocks until stop is raised, input waits (when watchInput) or the line
    // hangs up; EBADF when no line is open.
    virtual int WaitForEvent(const StopSignal& stop, bool watchInput, SerialEvent& event) = 0;
    virtual int BytesWaiting(int& count) = 0;
    // EAGAIN when no byte was there after all.
    virtual int ReadByte(std::uint8_t& byte) = 0;
};
