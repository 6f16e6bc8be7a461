#include "bench/EndToEndRun.h"

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <QTimer>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <thread>

#include "app/CMainFrame.h"
#include "bench/ConnectThroughDialog.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

namespace {

// Two packets that move both axes one count forward and back.
constexpr std::array<unsigned char, 6> kStream{0x40, 0x01, 0x01, 0x4F, 0x3F, 0x3F};
// 1200 baud, 7 data bits, no parity, 1 stop bit: 9 bits a byte.
constexpr auto kLineByte = std::chrono::nanoseconds(9LL * 1000000000LL / 1200);

double Microseconds(EndToEndRun::Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

// The main window, noting when it has finished with each received byte.
class TimedMainFrame : public CMainFrame {
  public:
    explicit TimedMainFrame(std::size_t bytes) : m_Handled(bytes) {}

    long OnCommNotification(unsigned message, std::uintptr_t wParam,
                            std::intptr_t lParam) override {
        const long result = CMainFrame::OnCommNotification(message, wParam, lParam);
        const std::size_t n = m_nCount.load(std::memory_order_relaxed);
        if (message == WM_COMM_RXCHAR && n < m_Handled.size()) {
            m_Handled[n] = EndToEndRun::Clock::now();
            m_nCount.store(n + 1, std::memory_order_release);
            if (n + 1 == m_Handled.size()) EndDialog(IDOK);
        }
        return result;
    }

    std::vector<EndToEndRun::Clock::time_point> m_Handled;
    // Read by the writer, which waits for the flood to be handled.
    std::atomic<std::size_t> m_nCount{0};
};

LinkPhase PhaseOf(const std::vector<EndToEndRun::Clock::time_point>& written,
                  const std::vector<EndToEndRun::Clock::time_point>& handled, std::size_t first,
                  std::size_t end) {
    LinkPhase phase;
    for (std::size_t i = first; i < end; ++i) {
        phase.latencyMicroseconds.push_back(Microseconds(handled[i] - written[i]));
    }
    const double seconds = Microseconds(handled[end - 1] - written[first]) / 1e6;
    phase.bytesPerSecond = static_cast<double>(end - first) / seconds;
    return phase;
}

}  // namespace

EndToEndRun::EndToEndRun(std::size_t floodBytes, double lineSeconds)
    : m_nFloodBytes(floodBytes / kStream.size() * kStream.size()),
      m_nLineBytes(
          static_cast<std::size_t>(lineSeconds * 1e9 / static_cast<double>(kLineByte.count()))) {
    std::array<char, 256> name{};
    if (openpty(&m_nMaster, &m_nSlave, name.data(), nullptr, nullptr) != 0) {
        throw std::runtime_error("openpty");
    }
    m_strPath = name.data();
    termios raw{};
    tcgetattr(m_nSlave, &raw);
    cfmakeraw(&raw);
    tcsetattr(m_nSlave, TCSANOW, &raw);
}

EndToEndRun::~EndToEndRun() {
    close(m_nSlave);
    close(m_nMaster);
}

void EndToEndRun::WriteAll(const unsigned char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t n = write(m_nMaster, bytes, count);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw std::runtime_error("write to the pseudo-terminal");
        bytes += n;
        count -= static_cast<std::size_t>(n);
    }
}

void EndToEndRun::Flood(std::vector<Clock::time_point>& written) {
    for (std::size_t i = 0; i < m_nFloodBytes; i += 3) {
        const Clock::time_point now = Clock::now();
        written[i] = written[i + 1] = written[i + 2] = now;
        WriteAll(&kStream[i % kStream.size()], 3);
    }
}

void EndToEndRun::FeedAtLineRate(std::vector<Clock::time_point>& written) {
    const Clock::time_point start = Clock::now();
    for (std::size_t i = 0; i < m_nLineBytes; ++i) {
        std::this_thread::sleep_until(start + kLineByte * static_cast<long>(i));
        written[m_nFloodBytes + i] = Clock::now();
        WriteAll(&kStream[i % kStream.size()], 1);
    }
}

double EndToEndRun::BareReaderBytesPerSecond() {
    std::vector<Clock::time_point> written(m_nFloodBytes);
    Clock::time_point last;
    std::thread reader([&] {
        std::size_t count = 0;
        while (count < m_nFloodBytes) {
            pollfd line{m_nSlave, POLLIN, 0};
            if (poll(&line, 1, -1) < 0 && errno != EINTR) return;
            int waiting = 0;
            ioctl(m_nSlave, FIONREAD, &waiting);
            while (waiting > 0) {
                unsigned char byte = 0;
                if (read(m_nSlave, &byte, 1) == 1) ++count;
                ioctl(m_nSlave, FIONREAD, &waiting);
            }
        }
        last = Clock::now();
    });
    Flood(written);
    reader.join();
    return static_cast<double>(m_nFloodBytes) / (Microseconds(last - written.front()) / 1e6);
}

bool EndToEndRun::ThroughMainWindow(LinkPhase& fullSpeed, LinkPhase& lineRate) {
    setenv("MIVLO_COM1", m_strPath.c_str(), 1);
    const std::size_t total = m_nFloodBytes + m_nLineBytes;
    std::vector<Clock::time_point> written(total);
    TimedMainFrame window(total);
    std::thread writer;
    WhenModalAppears(nullptr, [&](QWidget*) {
        if (!ConnectThroughDialog(window)) return window.EndDialog(IDCANCEL);
        writer = std::thread([&] {
            Flood(written);
            // The line-rate latencies must not queue behind the flood.
            while (window.m_nCount.load(std::memory_order_acquire) < m_nFloodBytes) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            FeedAtLineRate(written);
        });
    });
    // A byte lost on the way must not hang the run.
    const auto allowance = std::chrono::seconds(120) + kLineByte * static_cast<long>(total);
    QTimer::singleShot(std::chrono::duration_cast<std::chrono::milliseconds>(allowance), &window,
                       [&] { window.EndDialog(IDCANCEL); });
    const bool complete = window.DoModal() == IDOK;
    if (!complete) {
        // The writer may be blocked on a full line that nobody reads any more.
        if (writer.joinable()) writer.detach();
        return false;
    }
    writer.join();
    fullSpeed = PhaseOf(written, window.m_Handled, 0, m_nFloodBytes);
    lineRate = PhaseOf(written, window.m_Handled, m_nFloodBytes, total);
    return true;
}
