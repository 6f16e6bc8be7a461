#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <future>
#include <memory>
#include <thread>
#include <utility>

#include "encoder/CSerialPort.h"
#include "tests/encoder/PseudoTerminal.h"
#include "tests/encoder/TestOwner.h"

namespace {

constexpr std::uint32_t kSystemMask = EV_RXCHAR | EV_CTS;

std::vector<std::uint8_t> Bytes(const std::vector<Notification>& notifications) {
    std::vector<std::uint8_t> bytes;
    for (const auto& n : notifications) {
        if (n.message == WM_COMM_RXCHAR) bytes.push_back(static_cast<std::uint8_t>(n.wParam));
    }
    return bytes;
}

double ProcessCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// CPU time the whole process spends over a while in which it should be idle:
// a listener that spins would take all of it.
double CpuSecondsWhileIdle() {
    const double before = ProcessCpuSeconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    return ProcessCpuSeconds() - before;
}

// Ends the listening from another thread; false if it did not end in time.
// Whatever held the owner is released afterwards in any case, so that a stop
// that is stuck fails the test instead of hanging it.
bool StopsInTime(CSerialPort& port, std::promise<void>* release = nullptr) {
    auto stopped = std::async(std::launch::async, [&] { return port.StopListening(); });
    const bool inTime = stopped.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (release != nullptr) release->set_value();
    return inTime && stopped.get();
}

class SerialPortTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("MIVLO_COM1", m_Line.Path().c_str(), 1); }
    void TearDown() override {
        unsetenv("MIVLO_COM1");
        unsetenv("MIVLO_COM2");
    }

    bool Open(CSerialPort& port, unsigned nPort = 1, std::uint32_t mask = kSystemMask) {
        return port.OpenPort(&m_Owner, nPort, 1200, 'N', 7, 1, mask);
    }

    // Declared first: destroyed after the drivers of each test.
    TestOwner m_Owner;
    PseudoTerminal m_Line;
};

TEST_F(SerialPortTest, OpensWithTheMouseLineSettings) {
    CSerialPort port;
    ASSERT_TRUE(Open(port));
    EXPECT_TRUE(m_Owner.Boxes().empty());

    const termios settings = m_Line.Settings();
    EXPECT_EQ(cfgetispeed(&settings), B1200);
    EXPECT_EQ(cfgetospeed(&settings), B1200);
    // A pseudo-terminal keeps 8 bits and no parity whatever it is asked.
    EXPECT_EQ(settings.c_cflag & (CSTOPB | CRTSCTS), 0U);
    EXPECT_EQ(settings.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
    EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0U);
    EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ICRNL | ISTRIP), 0U);
}

TEST_F(SerialPortTest, ReportsTheFirstConfigurationStepThatFailsAndKeepsThePort) {
    char notATerminal[] = "/tmp/mivlo-not-a-terminal-XXXXXX";
    const int file = mkstemp(notATerminal);
    ASSERT_GE(file, 0);
    close(file);
    const struct {
        const char* device;  // nullptr: the pseudo-terminal
        unsigned baud;
        char parity;
        unsigned dataBits;
        unsigned stopBits;
        std::uint32_t mask;
        const char* report;
    } cases[] = {
        {notATerminal, 1200, 'N', 7, 1, kSystemMask,
         "WARNING:  GetCommState() Failed with the following error: \n"
         "Inappropriate ioctl for device\nPort: 3\n"},
        {nullptr, 1234, 'N', 7, 1, kSystemMask,
         "WARNING:  BuildCommDCB() Failed with the following error: \nInvalid argument\nPort: 3\n"},
        {nullptr, 1200, 'X', 7, 1, kSystemMask,
         "WARNING:  BuildCommDCB() Failed with the following error: \nInvalid argument\nPort: 3\n"},
        {nullptr, 1200, 'N', 9, 1, kSystemMask,
         "WARNING:  BuildCommDCB() Failed with the following error: \nInvalid argument\nPort: 3\n"},
        {nullptr, 1200, 'N', 7, 3, kSystemMask,
         "WARNING:  BuildCommDCB() Failed with the following error: \nInvalid argument\nPort: 3\n"},
        {nullptr, 1200, 'N', 7, 1, 0x10000,
         "WARNING:  SetCommMask() Failed with the following error: \nInvalid argument\nPort: 3\n"},
    };
    for (const auto& c : cases) {
        TestOwner owner;
        PseudoTerminal line;
        setenv("MIVLO_COM3", c.device != nullptr ? c.device : line.Path().c_str(), 1);
        CSerialPort port;
        EXPECT_TRUE(port.OpenPort(&owner, 3, c.baud, c.parity, c.dataBits, c.stopBits, c.mask));
        EXPECT_EQ(owner.Boxes(), std::vector<std::string>{c.report});
        // The steps after the failing one were skipped: the line is as it was.
        EXPECT_NE(line.Settings().c_lflag & ICANON, 0U) << c.report;
    }
    unsetenv("MIVLO_COM3");
    unlink(notATerminal);
}

TEST_F(SerialPortTest, APortThatCannotBeOpenedFailsSilentlyAndClosesTheOneBefore) {
    setenv("MIVLO_COM2", "/nonexistent/tty", 1);
    CSerialPort port;
    ASSERT_TRUE(Open(port, 1));
    EXPECT_FALSE(Open(port, 2));
    EXPECT_TRUE(m_Owner.Boxes().empty());

    CSerialPort other;
    EXPECT_TRUE(Open(other, 1)) << "COM1 was left open";
}

TEST_F(SerialPortTest, ReopensThePortItHasOpen) {
    CSerialPort port;
    ASSERT_TRUE(Open(port));
    EXPECT_TRUE(Open(port));
    EXPECT_TRUE(m_Owner.Boxes().empty());
    ASSERT_TRUE(port.StartListening());
    m_Line.Send({0x40});
    ASSERT_TRUE(m_Owner.WaitForNotifications(2));
    EXPECT_EQ(Bytes(m_Owner.Notifications()), std::vector<std::uint8_t>{0x40});
}

TEST_F(SerialPortTest, ASecondDriverCannotOpenAPortInUse) {
    auto first = std::make_unique<CSerialPort>();
    ASSERT_TRUE(Open(*first));
    CSerialPort second;
    EXPECT_FALSE(Open(second));
    EXPECT_TRUE(m_Owner.Boxes().empty());
    first.reset();
    EXPECT_TRUE(Open(second));
}

// Three bytes that wait together, behind the first notification of a wake-up.
TEST_F(SerialPortTest, EachWakeUpSendsTheMaskNotificationsThenItsBytesOneAtATime) {
    const std::vector<std::uint8_t> sent{0x43, 0x3F, 0xC0};
    const auto rx = [](std::uint8_t b) { return Notification{WM_COMM_RXCHAR, b, 1}; };
    const auto note = [](unsigned message) { return Notification{message, 0, 1}; };
    const struct {
        std::uint32_t mask;
        std::vector<Notification> expected;
    } cases[] = {
        {kSystemMask, {note(WM_COMM_CTS), rx(0x43), rx(0x3F), rx(0xC0)}},
        {EV_RXCHAR, {rx(0x43), rx(0x3F), rx(0xC0)}},
        {EV_RXCHAR | EV_RING | EV_ERR | EV_BREAK | EV_RXFLAG | EV_CTS,
         {note(WM_COMM_CTS), note(WM_COMM_RXFLAG), note(WM_COMM_BREAK), note(WM_COMM_ERR),
          note(WM_COMM_RING), rx(0x43), rx(0x3F), rx(0xC0)}},
    };
    for (const auto& c : cases) {
        TestOwner owner;
        PseudoTerminal line;
        setenv("MIVLO_COM1", line.Path().c_str(), 1);
        std::promise<void> release;
        const std::shared_future<void> released = release.get_future().share();
        owner.m_OnNotification = [&, first = true](const Notification&) mutable {
            if (std::exchange(first, false)) released.wait();
        };
        CSerialPort port;
        ASSERT_TRUE(port.OpenPort(&owner, 1, 1200, 'N', 7, 1, c.mask));
        ASSERT_TRUE(port.StartListening());
        line.Send(sent);
        ASSERT_TRUE(owner.WaitForNotifications(1));
        const int delivered = static_cast<int>(Bytes(owner.Notifications()).size());
        EXPECT_TRUE(line.WaitForWaiting(3 - delivered));
        release.set_value();

        ASSERT_TRUE(owner.WaitForNotifications(c.expected.size()));
        port.StopListening();
        EXPECT_EQ(owner.Notifications(), c.expected) << std::hex << c.mask;
        EXPECT_FALSE(owner.PostedWhileBusy());
    }
}

TEST_F(SerialPortTest, StopReturnsAtOnceWhenNothingListensAndWaitsForAFreshListener) {
    CSerialPort port;
    EXPECT_TRUE(port.StopListening());
    ASSERT_TRUE(Open(port));
    EXPECT_TRUE(port.StopListening());

    ASSERT_TRUE(port.StartListening());
    EXPECT_TRUE(port.StopListening());
    m_Line.Send({0x40, 0x01, 0x00});
    // Nobody reads them any more.
    EXPECT_TRUE(m_Line.WaitForWaiting(3));
    m_Owner.RunPending();
    EXPECT_TRUE(m_Owner.Notifications().empty());
}

TEST_F(SerialPortTest, BytesReceivedWhileStoppedAreDiscardedByTheNextStart) {
    CSerialPort port;
    ASSERT_TRUE(Open(port, 1, EV_RXCHAR));
    ASSERT_TRUE(port.StartListening());
    ASSERT_TRUE(port.StopListening());
    m_Line.Send({0x40, 0x01, 0x00});
    ASSERT_TRUE(m_Line.WaitForWaiting(3));

    ASSERT_TRUE(port.StartListening());
    m_Line.Send({0x4C});
    ASSERT_TRUE(m_Owner.WaitForNotifications(1));
    port.StopListening();
    EXPECT_EQ(Bytes(m_Owner.Notifications()), std::vector<std::uint8_t>{0x4C});
}

TEST_F(SerialPortTest, DestroyingAListeningDriverEndsItsThreadAndClosesThePort) {
    auto port = std::make_unique<CSerialPort>();
    ASSERT_TRUE(Open(*port));
    ASSERT_TRUE(port->StartListening());
    m_Line.Send({0x40});
    ASSERT_TRUE(m_Owner.WaitForNotifications(2));
    port.reset();

    CSerialPort next;
    EXPECT_TRUE(Open(next));
}

TEST_F(SerialPortTest, StopDoesNotWaitForAnOwnerThatIsSlowToHandleAByte) {
    std::promise<void> release;
    const std::shared_future<void> released = release.get_future().share();
    m_Owner.m_OnNotification = [&](const Notification& n) {
        if (n.message == WM_COMM_RXCHAR) released.wait();
    };
    CSerialPort port;
    ASSERT_TRUE(Open(port));
    ASSERT_TRUE(port.StartListening());
    m_Line.Send({0x40, 0x01});
    ASSERT_TRUE(m_Owner.WaitForNotifications(2));

    EXPECT_TRUE(StopsInTime(port, &release));
    m_Owner.RunPending();
    EXPECT_EQ(Bytes(m_Owner.Notifications()), std::vector<std::uint8_t>{0x40});
}

TEST_F(SerialPortTest, StopDropsAHandOffTheOwnerHasNotRunYet) {
    std::promise<void> release;
    // The owner's thread is busy with something else, as in a long redraw.
    m_Owner.PostToOwnerThread([released = release.get_future().share()] { released.wait(); });
    CSerialPort port;
    ASSERT_TRUE(Open(port));
    ASSERT_TRUE(port.StartListening());
    m_Line.Send({0x40});
    ASSERT_TRUE(m_Owner.WaitForPosted(2));

    EXPECT_TRUE(StopsInTime(port, &release));
    m_Owner.RunPending();
    EXPECT_TRUE(m_Owner.Notifications().empty());
}

TEST_F(SerialPortTest, TheOwnerCanStopListeningFromInsideADelivery) {
    CSerialPort port;
    m_Owner.m_OnNotification = [&](const Notification&) { port.StopListening(); };
    // Started on the owner's thread, as the UI thread does: that thread is
    // the one that calls the driver.
    bool listening = false;
    m_Owner.RunOnOwnerThread([&] { listening = Open(port) && port.StartListening(); });
    ASSERT_TRUE(listening);
    m_Line.Send({0x40, 0x01, 0x00});
    ASSERT_TRUE(m_Owner.WaitForNotifications(1));
    m_Owner.RunPending();

    EXPECT_EQ(m_Owner.Notifications(), (std::vector<Notification>{{WM_COMM_CTS, 0, 1}}));
    EXPECT_TRUE(m_Line.WaitForWaiting(3));
}

// A listener left without a usable port reports it once and then only waits
// for its stop, without spinning.
TEST_F(SerialPortTest, AListenerWithoutAUsablePortReportsOnceAndWaitsForItsStop) {
    const struct {
        const char* name;
        unsigned nPort;
        const char* report;
    } cases[] = {
        {"far end closed", 1,
         "WARNING:  ReadFile() Failed with the following error: \nInput/output error\nPort: 1\n"},
        {"never opened", 2,
         "WARNING:  WaitCommEvent() Failed with the following error: \n"
         "Bad file descriptor\nPort: 2\n"},
    };
    setenv("MIVLO_COM2", "/nonexistent/tty", 1);
    for (const auto& c : cases) {
        TestOwner owner;
        PseudoTerminal line;
        setenv("MIVLO_COM1", line.Path().c_str(), 1);
        CSerialPort port;
        EXPECT_EQ(port.OpenPort(&owner, c.nPort, 1200, 'N', 7, 1, kSystemMask), c.nPort == 1);
        ASSERT_TRUE(port.StartListening());
        line.CloseFarEnd();

        ASSERT_TRUE(owner.WaitForBoxes(1)) << c.name;
        EXPECT_LT(CpuSecondsWhileIdle(), 0.1) << c.name;
        EXPECT_EQ(owner.Boxes(), std::vector<std::string>{c.report}) << c.name;
        EXPECT_TRUE(StopsInTime(port)) << c.name;
        EXPECT_FALSE(port.OpenPort(&owner, c.nPort, 1200, 'N', 7, 1, kSystemMask)) << c.name;
    }
}

TEST(SerialPortErrorReport, IsComposedWholeWhateverItsLength) {
    EXPECT_EQ(CSerialPort::ErrorReportText("ReadFile()", "Input/output error", 4),
              "WARNING:  ReadFile() Failed with the following error: \nInput/output error\n"
              "Port: 4\n");
    const std::string description(100000, 'x');
    const std::string text = CSerialPort::ErrorReportText("SetCommState()", description, 1);
    EXPECT_EQ(text, "WARNING:  SetCommState() Failed with the following error: \n" + description +
                        "\nPort: 1\n");
}

}  // namespace
