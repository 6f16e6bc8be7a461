#pragma once

#include <termios.h>

#include <cstdint>
#include <string>
#include <vector>

// A pseudo-terminal pair: the driver opens the slave by its path; the test
// plays the device on the master and keeps a slave descriptor of its own to
// look at the line's settings and input queue.
class PseudoTerminal {
  public:
    PseudoTerminal();
    ~PseudoTerminal();

    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& Path() const { return m_strPath; }
    void Send(const std::vector<std::uint8_t>& bytes);
    // Writes what the line takes at once, without waiting for room; the
    // number of bytes written. Send must not be used after it.
    std::size_t SendSome(const std::uint8_t* bytes, std::size_t count);
    // Waits a few seconds at most until that many bytes wait on the line.
    bool WaitForWaiting(int count);
    int Waiting();
    termios Settings();
    // The device goes away, as an unplugged adapter does.
    void CloseFarEnd();

  private:
    int m_nMaster = -1;
    int m_nSlave = -1;
    std::string m_strPath;
};
