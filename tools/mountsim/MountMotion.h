#pragma once

#include <cstdint>
#include <deque>
#include <random>
#include <string>
#include <utility>

// What the simulated mount does, one packet at a time. A packet carries at
// most 127 counts per axis, so larger movements are spread over packets.
class MountMotion {
  public:
    // A steady slew of so many counts per second on each axis, at a given
    // number of packets per second; fractions carry over between packets.
    static MountMotion Slew(double countsPerSecondX, double countsPerSecondY,
                            double packetsPerSecond);
    // A random walk of at most `step` counts per packet on each axis.
    static MountMotion RandomWalk(int step, std::uint32_t seed);
    // Moves read from a script: one "X Y" pair of counts per line; '#' starts
    // a comment. Throws std::invalid_argument naming the bad line.
    static MountMotion Script(const std::string& text);
    // Moves queued from outside (the keys of the terminal).
    static MountMotion Manual();

    // Queues a movement (split over packets as needed).
    void Add(long long x, long long y);
    // The movement of the next packet; (0, 0) when nothing is due.
    std::pair<int, int> Next();
    // A script or a manual queue with nothing left to send.
    bool Finished() const;

  private:
    enum class Kind { Slew, RandomWalk, Queue };

    Kind m_Kind = Kind::Queue;
    bool m_bScript = false;
    double m_dPorPaqueteX = 0;
    double m_dPorPaqueteY = 0;
    double m_dDebidoX = 0;
    double m_dDebidoY = 0;
    int m_nPaso = 0;
    std::mt19937 m_Azar;
    std::deque<std::pair<long long, long long>> m_Cola;
};
