#pragma once

#include <chrono>
#include <string>
#include <vector>

// How one stretch of traffic went through a reader.
struct LinkPhase {
    double bytesPerSecond = 0;
    // One per byte: from its write on the far end to the boxes updated.
    std::vector<double> latencyMicroseconds;
};

// A pseudo-terminal flooded and fed by a writer thread, read either by the
// real main window (through the serial port driver and the hand-off to the
// UI thread) or by a bare reader thread that hands nothing on.
class EndToEndRun {
  public:
    using Clock = std::chrono::steady_clock;

    // floodBytes are written as fast as the line takes them, then the line is
    // fed at the mouse's 133 bytes per second for lineSeconds.
    EndToEndRun(std::size_t floodBytes, double lineSeconds);
    ~EndToEndRun();
    EndToEndRun(const EndToEndRun&) = delete;
    EndToEndRun& operator=(const EndToEndRun&) = delete;

    // The floor: poll, bytes waiting, one-byte reads, and nothing more.
    double BareReaderBytesPerSecond();
    // The real main window, connected through its configuration dialog.
    // False when it could not connect or the bytes did not all arrive.
    bool ThroughMainWindow(LinkPhase& fullSpeed, LinkPhase& lineRate);

  private:
    void Flood(std::vector<Clock::time_point>& written);
    void FeedAtLineRate(std::vector<Clock::time_point>& written);
    void WriteAll(const unsigned char* bytes, std::size_t count);

    int m_nMaster = -1;
    int m_nSlave = -1;
    std::string m_strPath;
    std::size_t m_nFloodBytes;
    std::size_t m_nLineBytes;
};
