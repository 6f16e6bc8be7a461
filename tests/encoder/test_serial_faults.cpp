#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>
#include <vector>

#include "encoder/CSerialPort.h"
#include "tests/encoder/PseudoTerminal.h"
#include "tests/encoder/TestOwner.h"

namespace {

constexpr std::uint32_t kSystemMask = EV_RXCHAR | EV_CTS;

// A mouse that never stops: the bytes 0, 1 ... 250, 0 ... (a prime period, so
// a lost or repeated byte shows) as fast as the line takes them, from a thread
// of its own.
class Flood {
  public:
    explicit Flood(PseudoTerminal& line) : m_Line(line), m_Thread([this] { Run(); }) {}
    ~Flood() { Stop(); }
    Flood(const Flood&) = delete;
    Flood& operator=(const Flood&) = delete;

    void Stop() {
        m_bStop = true;
        if (m_Thread.joinable()) m_Thread.join();
    }
    // The far end goes away between two writes, as an unplugged adapter does.
    void Unplug() {
        m_bUnplug = true;
        Stop();
    }
    // Everything the line took; valid once stopped.
    const std::vector<std::uint8_t>& Sent() const { return m_Sent; }

  private:
    void Run() {
        std::vector<std::uint8_t> chunk(64);
        while (!m_bStop) {
            for (std::size_t i = 0; i < chunk.size(); ++i) {
                chunk[i] = static_cast<std::uint8_t>((m_Sent.size() + i) % 251);
            }
            const std::size_t taken = m_Line.SendSome(chunk.data(), chunk.size());
            m_Sent.insert(m_Sent.end(), chunk.begin(), chunk.begin() + static_cast<long>(taken));
            if (taken == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        if (m_bUnplug) m_Line.CloseFarEnd();
    }

    PseudoTerminal& m_Line;
    std::atomic<bool> m_bStop{false};
    std::atomic<bool> m_bUnplug{false};
    std::vector<std::uint8_t> m_Sent;
    std::thread m_Thread;
};

std::vector<std::uint8_t> Bytes(const std::vector<Notification>& notifications) {
    std::vector<std::uint8_t> bytes;
    for (const auto& n : notifications) {
        if (n.message == WM_COMM_RXCHAR) bytes.push_back(static_cast<std::uint8_t>(n.wParam));
    }
    return bytes;
}

bool IsPrefix(const std::vector<std::uint8_t>& prefix, const std::vector<std::uint8_t>& whole) {
    return prefix.size() <= whole.size() && std::equal(prefix.begin(), prefix.end(), whole.begin());
}

std::size_t EntriesIn(const char* folder) {
    std::size_t count = 0;
    DIR* directory = opendir(folder);
    while (const dirent* entry = readdir(directory)) {
        if (entry->d_name[0] != '.') ++count;
    }
    closedir(directory);
    return count;
}

bool StopsInTime(CSerialPort& port) {
    auto stopped = std::async(std::launch::async, [&] { return port.StopListening(); });
    return stopped.wait_for(std::chrono::seconds(5)) == std::future_status::ready && stopped.get();
}

// Another program that holds the port the way this one does, until released.
class OtherProcessHolding {
  public:
    explicit OtherProcessHolding(const std::string& path) {
        int ready[2];
        int hold[2];
        if (pipe(ready) != 0 || pipe(hold) != 0) return;
        m_nPid = fork();
        if (m_nPid == 0) {
            // Only calls that are safe after forking a threaded process.
            close(hold[1]);
            const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            char held = (fd >= 0 && flock(fd, LOCK_EX | LOCK_NB) == 0) ? 'y' : 'n';
            ioctl(fd, TIOCEXCL);
            if (write(ready[1], &held, 1) != 1) _exit(1);
            while (read(hold[0], &held, 1) > 0) {
            }
            ioctl(fd, TIOCNXCL);
            _exit(0);
        }
        close(ready[1]);
        close(hold[0]);
        m_nRelease = hold[1];
        char held = 'n';
        m_bHeld = read(ready[0], &held, 1) == 1 && held == 'y';
        close(ready[0]);
    }
    ~OtherProcessHolding() { Release(); }
    OtherProcessHolding(const OtherProcessHolding&) = delete;
    OtherProcessHolding& operator=(const OtherProcessHolding&) = delete;

    bool Held() const { return m_bHeld; }
    void Release() {
        if (m_nPid <= 0) return;
        close(m_nRelease);
        waitpid(m_nPid, nullptr, 0);
        m_nPid = -1;
    }

  private:
    pid_t m_nPid = -1;
    int m_nRelease = -1;
    bool m_bHeld = false;
};

class SerialFaultTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("MIVLO_COM1", m_Line.Path().c_str(), 1); }
    void TearDown() override { unsetenv("MIVLO_COM1"); }

    bool Open(CSerialPort& port) {
        return port.OpenPort(&m_Owner, 1, 1200, 'N', 7, 1, kSystemMask);
    }

    TestOwner m_Owner;
    PseudoTerminal m_Line;
};

// Whatever was delivered before the line went is exactly what was sent, in
// order; then one box, and the listener only waits for its stop.
TEST_F(SerialFaultTest, TheFarEndGoingAwayMidStreamLosesNothingDeliveredAndReportsOnce) {
    CSerialPort port;
    ASSERT_TRUE(Open(port));
    ASSERT_TRUE(port.StartListening());
    Flood flood(m_Line);
    ASSERT_TRUE(m_Owner.WaitForNotifications(200));
    flood.Unplug();

    ASSERT_TRUE(m_Owner.WaitForBoxes(1));
    EXPECT_TRUE(StopsInTime(port));
    m_Owner.RunPending();
    const auto boxes = m_Owner.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes.front().rfind("WARNING:  ReadFile() Failed with the following error: \n", 0),
              0u)
        << boxes.front();
    EXPECT_TRUE(IsPrefix(Bytes(m_Owner.Notifications()), flood.Sent()));
}

TEST_F(SerialFaultTest, APortHeldByAnotherProgramIsRefusedWithoutABoxOrAChange) {
    OtherProcessHolding other(m_Line.Path());
    ASSERT_TRUE(other.Held());
    CSerialPort port;
    EXPECT_FALSE(Open(port));
    EXPECT_TRUE(m_Owner.Boxes().empty());
    // Still the line the other program left: nobody made it raw.
    EXPECT_NE(m_Line.Settings().c_lflag & ICANON, 0U);

    other.Release();
    EXPECT_TRUE(Open(port));
}

TEST_F(SerialFaultTest, AThousandConnectionsUnderTrafficLeaveNoDescriptorOrThread) {
    CSerialPort port;
    Flood flood(m_Line);
    ASSERT_TRUE(Open(port));
    const std::size_t descriptors = EntriesIn("/proc/self/fd");
    const std::size_t threads = EntriesIn("/proc/self/task");
    for (int cycle = 0; cycle < 1000; ++cycle) {
        ASSERT_TRUE(Open(port)) << cycle;
        ASSERT_TRUE(port.StartListening()) << cycle;
        ASSERT_TRUE(port.StopListening()) << cycle;
    }
    EXPECT_EQ(EntriesIn("/proc/self/fd"), descriptors);
    EXPECT_EQ(EntriesIn("/proc/self/task"), threads);

    // And the link still works.
    const std::size_t before = m_Owner.Notifications().size();
    ASSERT_TRUE(port.StartListening());
    EXPECT_TRUE(m_Owner.WaitForNotifications(before + 100));
    EXPECT_TRUE(StopsInTime(port));
    EXPECT_TRUE(m_Owner.Boxes().empty());
}

TEST_F(SerialFaultTest, StopDuringAFloodEndsTheListenerAndNothingArrivesAfter) {
    CSerialPort port;
    ASSERT_TRUE(Open(port));
    ASSERT_TRUE(port.StartListening());
    Flood flood(m_Line);
    ASSERT_TRUE(m_Owner.WaitForNotifications(500));

    EXPECT_TRUE(StopsInTime(port));
    const std::size_t atStop = m_Owner.Notifications().size();
    m_Owner.RunPending();
    flood.Stop();
    EXPECT_EQ(m_Owner.Notifications().size(), atStop);
    EXPECT_TRUE(IsPrefix(Bytes(m_Owner.Notifications()), flood.Sent()));
    EXPECT_TRUE(m_Owner.Boxes().empty());
}

}  // namespace
