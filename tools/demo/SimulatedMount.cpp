#include "tools/demo/SimulatedMount.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

SimulatedMount::SimulatedMount() {
    m_nMaster = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_nMaster < 0) return;
    char name[PATH_MAX] = {};
    if (grantpt(m_nMaster) != 0 || unlockpt(m_nMaster) != 0 ||
        ptsname_r(m_nMaster, name, sizeof name) != 0) {
        close(m_nMaster);
        m_nMaster = -1;
        return;
    }
    m_strPath = name;
}

SimulatedMount::~SimulatedMount() {
    m_bStop = true;
    Wait();
    if (m_nMaster >= 0) close(m_nMaster);
}

std::array<std::uint8_t, 3> SimulatedMount::Packet(int dx, int dy) {
    const auto x = static_cast<std::uint8_t>(dx);
    const auto y = static_cast<std::uint8_t>(dy);
    return {static_cast<std::uint8_t>(0x40 | ((y & 0xC0) >> 4) | ((x & 0xC0) >> 6)),
            static_cast<std::uint8_t>(x & 0x3F), static_cast<std::uint8_t>(y & 0x3F)};
}

void SimulatedMount::Slew(int countsX, int countsY, std::chrono::milliseconds duration) {
    m_bStop = true;
    Wait();
    m_bStop = false;
    m_bSlewing = true;
    const auto packets = static_cast<int>(duration.count() * kPacketsPerSecond / 1000);
    // Each packet carries at most 127 counts an axis.
    const int needed = (std::max(std::abs(countsX), std::abs(countsY)) + 126) / 127;
    m_Thread =
        std::thread(&SimulatedMount::Play, this, countsX, countsY, std::max({packets, needed, 1}));
}

void SimulatedMount::Wait() {
    if (m_Thread.joinable()) m_Thread.join();
}

void SimulatedMount::Play(int countsX, int countsY, int packets) {
    if (!m_bIdentified) {
        const std::uint8_t m = 'M';
        m_bIdentified = Write(&m, 1);
    }
    PlayPackets(countsX, countsY, packets);
    m_bSlewing = false;
}

void SimulatedMount::PlayPackets(int countsX, int countsY, int packets) {
    const auto period = std::chrono::microseconds(1000000 / kPacketsPerSecond);
    auto due = std::chrono::steady_clock::now();
    for (int i = 0; i < packets && !m_bStop; ++i) {
        // Whole counts, spread so that the totals come out exact.
        const int dx = countsX * (i + 1) / packets - countsX * i / packets;
        const int dy = countsY * (i + 1) / packets - countsY * i / packets;
        const auto packet = Packet(dx, dy);
        if (!Write(packet.data(), packet.size())) return;
        m_nSentX += dx;
        m_nSentY += dy;
        due += period;
        std::this_thread::sleep_until(due);
    }
}

bool SimulatedMount::Write(const std::uint8_t* bytes, std::size_t size) {
    while (size > 0) {
        const ssize_t n = write(m_nMaster, bytes, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}
