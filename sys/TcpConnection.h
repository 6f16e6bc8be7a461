#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A TCP stream socket with deadlines on every wait, for line-based command
// protocols. The socket is non-blocking; waits use poll(), so a silent peer
// costs at most the time left until the deadline.
class TcpConnection {
  public:
    using Clock = std::chrono::steady_clock;

    // Lines longer than this are refused rather than buffered without bound.
    static constexpr std::size_t kMaxLineLength = 64 * 1024;

    // Connects to host:port, trying each address the name resolves to; null
    // when nothing accepted before the deadline. Name resolution itself is
    // not bounded by the deadline.
    static std::unique_ptr<TcpConnection> Connect(const std::string& host, std::uint16_t port,
                                                  Clock::time_point deadline);

    // Takes over a connected socket, which it closes.
    explicit TcpConnection(int fd);
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // False when the peer closed, failed, or the deadline passed first.
    bool SendAll(std::string_view bytes, Clock::time_point deadline);

    // The next line without its LF and a CR before it; nothing when the
    // deadline passed, the peer closed or failed, or the line grew past
    // kMaxLineLength. A partial line stays buffered after a time-out.
    std::optional<std::string> ReadLine(Clock::time_point deadline);

    // Tells the peer nothing more will be sent, so it sees an orderly end.
    void ShutdownWrite();

  private:
    std::optional<std::string> TakeBufferedLine();

    int fd_;
    std::string buffered_;
};
