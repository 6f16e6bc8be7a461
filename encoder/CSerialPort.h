#pragma once

// The encoder's serial port driver. It is filled in with its listening thread
// by the encoder link; the model needs only the member to exist.
class CSerialPort {
  public:
    CSerialPort() = default;
    virtual ~CSerialPort() = default;
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;
    bool StopListening() { return true; }
};
