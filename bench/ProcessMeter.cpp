#include "bench/ProcessMeter.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <stdexcept>

extern char** environ;

namespace {

// Nanoseconds on a processor: the first field of the thread's schedstat.
double ThreadCpuSeconds(const std::string& task) {
    std::ifstream schedstat(task + "/schedstat");
    double nanoseconds = 0;
    schedstat >> nanoseconds;
    return nanoseconds / 1e9;
}

long ThreadWakeUps(const std::string& task) {
    std::ifstream status(task + "/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "voluntary_ctxt_switches:" && status >> value) return value;
        status.ignore(4096, '\n');
    }
    return 0;
}

}  // namespace

std::map<pid_t, ProcessCost> MeasureThreads(pid_t pid) {
    std::map<pid_t, ProcessCost> threads;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* directory = opendir(tasks.c_str());
    if (directory == nullptr) return threads;
    while (const dirent* entry = readdir(directory)) {
        if (entry->d_name[0] == '.') continue;
        const std::string task = tasks + "/" + entry->d_name;
        threads[std::atoi(entry->d_name)] = {ThreadCpuSeconds(task), ThreadWakeUps(task)};
    }
    closedir(directory);
    return threads;
}

CostAccumulator::CostAccumulator(pid_t pid) : m_nPid(pid), m_Last(MeasureThreads(pid)) {}

void CostAccumulator::Sample() {
    const std::map<pid_t, ProcessCost> now = MeasureThreads(m_nPid);
    for (const auto& [thread, cost] : now) {
        const auto before = m_Last.find(thread);
        const ProcessCost start = before != m_Last.end() ? before->second : ProcessCost{};
        m_Total.cpuSeconds += cost.cpuSeconds - start.cpuSeconds;
        m_Total.wakeUps += cost.wakeUps - start.wakeUps;
    }
    m_Last = now;
}

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

ChildProcess::ChildProcess(const std::vector<std::string>& argv) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) throw std::runtime_error("pipe2");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> arguments;
    for (const std::string& a : argv) arguments.push_back(const_cast<char*>(a.c_str()));
    arguments.push_back(nullptr);
    const int error =
        posix_spawn(&m_nPid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    m_nOutput = pipeEnds[0];
    if (error != 0) throw std::runtime_error("cannot start " + argv[0]);
}

ChildProcess::~ChildProcess() {
    if (m_nPid > 0) {
        kill(m_nPid, SIGKILL);
        Wait();
    }
    close(m_nOutput);
}

std::string ChildProcess::ReadLine(int timeoutMs) {
    const long long deadline = MonotonicNanoseconds() + timeoutMs * 1000000LL;
    for (;;) {
        if (const auto end = m_strPending.find('\n'); end != std::string::npos) {
            std::string line = m_strPending.substr(0, end);
            m_strPending.erase(0, end + 1);
            return line;
        }
        const long long left = (deadline - MonotonicNanoseconds()) / 1000000;
        pollfd output{m_nOutput, POLLIN, 0};
        if (left <= 0 || poll(&output, 1, static_cast<int>(left)) <= 0) return {};
        char buffer[256];
        const ssize_t count = read(m_nOutput, buffer, sizeof buffer);
        if (count <= 0) return {};
        m_strPending.append(buffer, static_cast<std::size_t>(count));
    }
}

void ChildProcess::Wait() {
    while (waitpid(m_nPid, nullptr, 0) < 0 && errno == EINTR) {
    }
    m_nPid = -1;
}
