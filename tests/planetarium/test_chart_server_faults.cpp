#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "planetarium/CDDE.h"
#include "planetarium/ChartServerBackend.h"
#include "sys/StopSignal.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

const std::string kFallo = "Fallo en la recepci\xC3\xB3n de datos DDE";

// How a misbehaving server answers the first command after its greeting.
struct Misbehaviour {
    const char* name;
    std::string reply;
    std::chrono::milliseconds perByte{0};
    bool hangUpAfter = false;
};

// A chart server on loopback that greets one client properly and then
// answers its first command as the misbehaviour says, and nothing more.
class MisbehavingServer {
  public:
    explicit MisbehavingServer(Misbehaviour script) : m_Script(std::move(script)) {
        m_nListener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        bind(m_nListener, reinterpret_cast<sockaddr*>(&address), length);
        listen(m_nListener, 4);
        getsockname(m_nListener, reinterpret_cast<sockaddr*>(&address), &length);
        m_nPort = ntohs(address.sin_port);
        m_Thread = std::thread([this] { Serve(); });
    }
    ~MisbehavingServer() {
        m_Done.Raise();
        m_Thread.join();
        if (m_nListener >= 0) close(m_nListener);
    }
    MisbehavingServer(const MisbehavingServer&) = delete;
    MisbehavingServer& operator=(const MisbehavingServer&) = delete;

    std::uint16_t Port() const { return m_nPort; }

  private:
    // False once the test is over.
    bool WaitFor(int fd, short events, int timeoutMs = -1) const {
        std::array<pollfd, 2> waiters{{{m_Done.Descriptor(), POLLIN, 0}, {fd, events, 0}}};
        poll(waiters.data(), waiters.size(), timeoutMs);
        return waiters[0].revents == 0;
    }

    void Serve() {
        if (!WaitFor(m_nListener, POLLIN)) return;
        const int client = accept4(m_nListener, nullptr, nullptr, SOCK_CLOEXEC);
        // Any later connection is refused at once.
        close(std::exchange(m_nListener, -1));
        SendAll(client, "OK! id=1 chart=Chart_1\r\n");
        char command[256];
        if (WaitFor(client, POLLIN) && recv(client, command, sizeof command, 0) > 0) Answer(client);
        // Keeps the connection open, saying nothing more, until the test ends.
        while (!m_Script.hangUpAfter && WaitFor(client, POLLIN) &&
               recv(client, command, sizeof command, 0) > 0) {
        }
        close(client);
    }

    void Answer(int client) {
        if (m_Script.perByte.count() == 0) {
            SendAll(client, m_Script.reply);
            return;
        }
        for (const char byte : m_Script.reply) {
            if (!SendAll(client, std::string(1, byte)) ||
                !WaitFor(-1, 0, static_cast<int>(m_Script.perByte.count()))) {
                return;
            }
        }
    }

    bool SendAll(int client, std::string_view bytes) const {
        while (!bytes.empty()) {
            const ssize_t sent = send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (sent <= 0) return false;
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        }
        return true;
    }

    Misbehaviour m_Script;
    StopSignal m_Done;
    int m_nListener = -1;
    std::uint16_t m_nPort = 0;
    std::thread m_Thread;
};

// Each ends in the one box of a failed request, within the request's
// time-out, and the link goes on: the next request tries a new connection.
TEST(ChartServerFaults, EachEndsInOneBoxWithinTheTimeOut) {
    const Misbehaviour cases[] = {
        {"a byte a second", "OK! 05h03m07s\r\n", 1000ms},
        {"a 1 MB line", "OK! " + std::string(1 << 20, 'x') + "\r\n"},
        {"a close mid-reply", "OK! 05h0", 0ms, true},
        {"a status line without end", ">" + std::string(200000, 's')},
    };
    for (const auto& c : cases) {
        const MisbehavingServer server(c);
        std::vector<std::string> boxes;
        CDDE dde(
            std::make_unique<ChartServerBackend>(ChartServerAddress{"127.0.0.1", server.Port()}));
        dde.SetMessageBox([&](const std::string& text) { boxes.push_back(text); });
        ASSERT_TRUE(dde.Conectar("ciel", "DdeSkyChart")) << c.name;

        const auto start = Clock::now();
        EXPECT_EQ(dde.RecibirDDE("DdeData"), "NULL") << c.name;
        EXPECT_LT(Clock::now() - start, 4500ms) << c.name;
        EXPECT_EQ(boxes, std::vector<std::string>{kFallo}) << c.name;

        // The server now refuses connections: one more box, no more.
        EXPECT_EQ(dde.RecibirDDE("DdeData"), "NULL") << c.name;
        EXPECT_EQ(boxes.size(), 2u) << c.name;
    }
}

}  // namespace
