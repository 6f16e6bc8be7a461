// Measures running programs from outside, through /proc:
//   mivlo-bench-process idle <seconds> <mivlo>
//   mivlo-bench-process connected <idle seconds> <line-rate seconds> <mivlo-bench-window>
//   mivlo-bench-process startup <runs> <mivlo-bench-startup> <mivlo-bench-floor>
#include <pty.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sstream>
#include <string>
#include <thread>

#include "bench/Figures.h"
#include "bench/ProcessMeter.h"

namespace {

// Time for the program to finish starting before its idle cost is taken.
constexpr auto kSettle = std::chrono::seconds(3);
// 1200 baud, 7 data bits, no parity, 1 stop bit: 9 bits a byte.
constexpr long long kLineByteNanoseconds = 9LL * 1000000000LL / 1200;

struct Rates {
    double cpuShare = 0;  // of one core
    double wakeUpsPerSecond = 0;
};

// The process's cost per second while meanwhile runs, read every 100 ms.
Rates Over(pid_t pid, const std::function<void()>& meanwhile) {
    CostAccumulator cost(pid);
    const long long start = MonotonicNanoseconds();
    std::atomic<bool> done{false};
    std::thread sampler([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            cost.Sample();
        }
    });
    meanwhile();
    done = true;
    sampler.join();
    const double elapsed = static_cast<double>(MonotonicNanoseconds() - start) / 1e9;
    return {cost.Total().cpuSeconds / elapsed, static_cast<double>(cost.Total().wakeUps) / elapsed};
}

void Sleep(double seconds) {
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

int Idle(double seconds, const std::string& mivlo) {
    ChildProcess program({mivlo});
    std::this_thread::sleep_for(kSettle);
    const Rates r = Over(program.Pid(), [&] { Sleep(seconds); });
    ReportFigure("Waiting, disconnected: wake-ups", r.wakeUpsPerSecond, "per s", "0",
                 r.wakeUpsPerSecond == 0);
    ReportFigure("Waiting, disconnected: CPU", r.cpuShare * 100, "% of core", "none set",
                 std::nullopt);
    return 0;
}

// Feeds the line at the mouse's full rate, one byte every 7.5 ms, in packets
// that move both axes one count forward and back.
void FeedAtLineRate(int master, double seconds) {
    constexpr std::array<unsigned char, 6> kStream{0x40, 0x01, 0x01, 0x4F, 0x3F, 0x3F};
    const long long start = MonotonicNanoseconds();
    const auto count = static_cast<long long>(seconds * 1e9 / kLineByteNanoseconds);
    for (long long i = 0; i < count; ++i) {
        const long long due = start + i * kLineByteNanoseconds;
        timespec at{static_cast<time_t>(due / 1000000000LL), static_cast<long>(due % 1000000000LL)};
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
        if (write(master, &kStream[static_cast<std::size_t>(i) % kStream.size()], 1) != 1) return;
    }
}

int Connected(double idleSeconds, double lineSeconds, const std::string& windowBench) {
    int master = -1;
    int slave = -1;
    std::array<char, 256> name{};
    if (openpty(&master, &slave, name.data(), nullptr, nullptr) != 0) return 1;
    setenv("MIVLO_COM1", name.data(), 1);
    ChildProcess host({windowBench, "host"});
    if (host.ReadLine(20000) != "connected") {
        std::fprintf(stderr, "the main window did not connect to %s\n", name.data());
        return 1;
    }
    std::this_thread::sleep_for(kSettle);
    const Rates idle = Over(host.Pid(), [&] { Sleep(idleSeconds); });
    ReportFigure("Waiting, connected, no traffic: wake-ups", idle.wakeUpsPerSecond, "per s",
                 "1 (the one-second tick)", idle.wakeUpsPerSecond <= 1.05);
    ReportFigure("Waiting, connected, no traffic: CPU", idle.cpuShare * 100, "% of core",
                 "none set", std::nullopt);
    const Rates fed = Over(host.Pid(), [&] { FeedAtLineRate(master, lineSeconds); });
    ReportFigure("Full line rate (133 B/s): CPU", fed.cpuShare * 100, "% of core", "< 0.5",
                 fed.cpuShare * 100 < 0.5);
    ReportFigure("Full line rate (133 B/s): wake-ups", fed.wakeUpsPerSecond, "per s", "none set",
                 std::nullopt);
    close(master);
    close(slave);
    return 0;
}

struct Start {
    double milliseconds = 0;
    double residentKilobytes = 0;
};

Start StartOnce(const std::string& program) {
    const long long launched = MonotonicNanoseconds();
    ChildProcess child({program});
    std::istringstream line(child.ReadLine(20000));
    std::string word;
    long long shownAt = 0;
    double resident = 0;
    line >> word >> shownAt >> resident;
    child.Wait();
    if (word != "shown") return {};
    return {static_cast<double>(shownAt - launched) / 1e6, resident};
}

int Startup(int runs, const std::string& mivlo, const std::string& floor) {
    // One start of each first, so both find their libraries in the page cache.
    StartOnce(mivlo);
    StartOnce(floor);
    std::vector<double> ours, bare, oursMemory, bareMemory;
    for (int i = 0; i < runs; ++i) {
        const Start a = StartOnce(mivlo);
        const Start b = StartOnce(floor);
        if (a.milliseconds <= 0 || b.milliseconds <= 0) {
            std::fprintf(stderr, "a program did not report its window\n");
            return 1;
        }
        ours.push_back(a.milliseconds);
        bare.push_back(b.milliseconds);
        oursMemory.push_back(a.residentKilobytes);
        bareMemory.push_back(b.residentKilobytes);
    }
    const double t = Percentile(ours, 0.5);
    const double t0 = Percentile(bare, 0.5);
    const double m = Percentile(oursMemory, 0.5);
    const double m0 = Percentile(bareMemory, 0.5);
    ReportFigure("Start-up to window shown (median)", t, "ms", "none set", std::nullopt);
    ReportFigure("Start-up, bare Qt dialog (median)", t0, "ms", "none set", std::nullopt);
    ReportFigure("Start-up ratio to bare Qt dialog", t / t0, "x", "<= 1.5", t / t0 <= 1.5);
    ReportFigure("Resident memory after start", m / 1024, "MiB", "none set", std::nullopt);
    ReportFigure("Resident memory, bare Qt dialog", m0 / 1024, "MiB", "none set", std::nullopt);
    ReportFigure("Memory ratio to bare Qt dialog", m / m0, "x", "<= 1.3", m / m0 <= 1.3);
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "idle" && argc == 4) return Idle(std::atof(argv[2]), argv[3]);
    if (mode == "connected" && argc == 5) {
        return Connected(std::atof(argv[2]), std::atof(argv[3]), argv[4]);
    }
    if (mode == "startup" && argc == 5) return Startup(std::atoi(argv[2]), argv[3], argv[4]);
    std::fprintf(stderr,
                 "usage: mivlo-bench-process idle SECONDS MIVLO\n"
                 "       mivlo-bench-process connected IDLE_SECONDS LINE_SECONDS WINDOW_BENCH\n"
                 "       mivlo-bench-process startup RUNS STARTUP_PROGRAM FLOOR_PROGRAM\n");
    return 2;
}
