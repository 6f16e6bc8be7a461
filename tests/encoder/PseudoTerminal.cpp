#include "tests/encoder/PseudoTerminal.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <stdexcept>
#include <thread>

PseudoTerminal::PseudoTerminal() {
    std::array<char, 128> name{};
    if (openpty(&m_nMaster, &m_nSlave, name.data(), nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty failed");
    }
    m_strPath = name.data();
}

PseudoTerminal::~PseudoTerminal() {
    CloseFarEnd();
    close(m_nSlave);
}

void PseudoTerminal::Send(const std::vector<std::uint8_t>& bytes) {
    if (write(m_nMaster, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("write to the pseudo-terminal failed");
    }
}

std::size_t PseudoTerminal::SendSome(const std::uint8_t* bytes, std::size_t count) {
    fcntl(m_nMaster, F_SETFL, fcntl(m_nMaster, F_GETFL) | O_NONBLOCK);
    const ssize_t written = write(m_nMaster, bytes, count);
    return written > 0 ? static_cast<std::size_t>(written) : 0;
}

int PseudoTerminal::Waiting() {
    int count = -1;
    ioctl(m_nSlave, FIONREAD, &count);
    return count;
}

bool PseudoTerminal::WaitForWaiting(int count) {
    // The kernel moves the bytes to the slave's queue on its own time, and
    // says nothing when it has.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Waiting() != count) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

termios PseudoTerminal::Settings() {
    termios settings{};
    tcgetattr(m_nSlave, &settings);
    return settings;
}

void PseudoTerminal::CloseFarEnd() {
    if (m_nMaster < 0) return;
    close(m_nMaster);
    m_nMaster = -1;
}
