// Any bytes from the chart server, through the whole planetarium link over
// loopback: no crash, every transaction within its 3000 ms time-out, at most
// one box per request, and no text longer than the line cap lets through.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

#include "fuzz/Require.h"
#include "planetarium/CDDE.h"
#include "planetarium/ChartServerBackend.h"
#include "sys/StopSignal.h"
#include "sys/TcpConnection.h"

namespace {

using Clock = std::chrono::steady_clock;

// The time-out of a transaction, and what a loaded machine may add to it.
constexpr auto kTransactionLimit = std::chrono::milliseconds(3000 + 1000);
// Lets a few input bytes stand for a line far past the cap.
constexpr std::uint8_t kLongRunMarker = 0xFF;
constexpr std::size_t kLongRun = 16 * 1024;
constexpr std::size_t kMostBytesSent = 256 * 1024;

std::string ServerBytes(const std::uint8_t* data, std::size_t size) {
    std::string bytes;
    for (std::size_t i = 0; i < size && bytes.size() < kMostBytesSent; ++i) {
        if (data[i] == kLongRunMarker) {
            bytes.append(kLongRun, 'x');
        } else {
            bytes.push_back(static_cast<char>(data[i]));
        }
    }
    return bytes;
}

int Listen(std::uint16_t& port) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    Require(fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
                listen(fd, 16) == 0 &&
                getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0,
            "a loopback listener");
    port = ntohs(address.sin_port);
    return fd;
}

// Plays the server for one input: the first connection gets the bytes and
// then the end of the stream; any later one (the link reopening) is closed
// at once, so that no connection waits on a server that is not there.
class ScriptedServer {
  public:
    ScriptedServer(int listener, std::string bytes)
        : listener_(listener), bytes_(std::move(bytes)), thread_([this] { Serve(); }) {}
    ~ScriptedServer() {
        done_.Raise();
        thread_.join();
    }
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

  private:
    void Serve() {
        bool first = true;
        while (WaitFor(listener_)) {
            const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            if (std::exchange(first, false)) Play(client);
            close(client);
        }
    }

    void Play(int client) {
        std::string_view left(bytes_);
        while (!left.empty()) {
            const ssize_t sent = send(client, left.data(), left.size(), MSG_NOSIGNAL);
            if (sent <= 0) return;
            left.remove_prefix(static_cast<std::size_t>(sent));
        }
        shutdown(client, SHUT_WR);
        // Read what the link says until it hangs up, so that closing here
        // resets nothing that it has still to read.
        char sink[4096];
        while (WaitFor(client) && recv(client, sink, sizeof sink, 0) > 0) {
        }
    }

    // False once the input is done with.
    bool WaitFor(int fd) const {
        std::array<pollfd, 2> waiters{{{done_.Descriptor(), POLLIN, 0}, {fd, POLLIN, 0}}};
        return poll(waiters.data(), waiters.size(), -1) > 0 && waiters[0].revents == 0;
    }

    int listener_;
    std::string bytes_;
    StopSignal done_;
    std::thread thread_;
};

template <typename Transaction>
void Timed(Transaction transaction) {
    const auto start = Clock::now();
    transaction();
    Require(Clock::now() - start < kTransactionLimit, "a transaction ends within its time-out");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static std::uint16_t port = 0;
    static const int listener = Listen(port);

    const ScriptedServer server(listener, ServerBytes(data, size));
    int boxes = 0;
    CDDE dde(std::make_unique<ChartServerBackend>(ChartServerAddress{"127.0.0.1", port}));
    dde.SetMessageBox([&](const std::string&) { ++boxes; });

    bool connected = false;
    Timed([&] { connected = dde.Conectar("ciel", "DdeSkyChart"); });
    if (connected) {
        std::string text;
        Timed([&] { text = dde.RecibirDDE("DdeData"); });
        Require(boxes <= 1, "one box at most for a request");
        // Five reply lines make the chart text, each within the cap.
        Require(text.size() <= 10 * TcpConnection::kMaxLineLength, "the chart text is bounded");
        Timed([&] {
            dde.EnviarDDE("DdeData",
                          "MOVE RA: 05h03m07.00s DEC:+12\xB0"
                          "04'09.0\" FOV:+90\xB0"
                          "00'00\"");
        });
        Require(boxes <= 1, "a poke shows no box");
        Timed([&] { dde.Desconectar(); });
    }
    return 0;
}
