#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

// A serial mouse on the encoders of a mount, played on a pseudo-terminal:
// the program opens the terminal's other end as its COM port. It sends the
// mouse's identification byte "M", then three-byte packets of the Microsoft
// serial mouse protocol at the real line rate.
class SimulatedMount {
  public:
    // 1200 baud, 7N1: nine bits a byte, three bytes a packet.
    static constexpr int kPacketsPerSecond = 1200 / 9 / 3;

    SimulatedMount();
    ~SimulatedMount();
    SimulatedMount(const SimulatedMount&) = delete;
    SimulatedMount& operator=(const SimulatedMount&) = delete;

    // The device the program opens; empty when no pseudo-terminal could be made.
    const std::string& Path() const { return m_strPath; }

    // Moves the axes by countsX and countsY, spread evenly over `duration`, on
    // a thread of its own; returns at once. A slew still running ends first.
    void Slew(int countsX, int countsY, std::chrono::milliseconds duration);
    // Returns once the slew has sent its last packet.
    void Wait();
    // True while a slew is sending.
    bool Slewing() const { return m_bSlewing; }
    // Running totals of the counts sent.
    int SentX() const { return m_nSentX; }
    int SentY() const { return m_nSentY; }

    // The packet for one movement; each count from -128 to 127.
    static std::array<std::uint8_t, 3> Packet(int dx, int dy);

  private:
    void Play(int countsX, int countsY, int packets);
    void PlayPackets(int countsX, int countsY, int packets);
    bool Write(const std::uint8_t* bytes, std::size_t size);

    int m_nMaster = -1;
    std::string m_strPath;
    std::thread m_Thread;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bSlewing{false};
    std::atomic<int> m_nSentX{0};
    std::atomic<int> m_nSentY{0};
    bool m_bIdentified = false;
};
