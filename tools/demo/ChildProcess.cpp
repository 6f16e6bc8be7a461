#include "tools/demo/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>

extern char** environ;

ChildProcess::~ChildProcess() {
    Kill();
}

bool ChildProcess::Start(const std::vector<std::string>& argv) {
    int ends[2];
    if (argv.empty() || pipe2(ends, O_CLOEXEC) != 0) return false;
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    const int error = posix_spawn(&m_nPid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    if (error != 0) {
        m_nPid = -1;
        close(ends[0]);
        return false;
    }
    m_nOutput = ends[0];
    return true;
}

std::optional<std::string> ChildProcess::TakeLine() {
    const auto end = m_strPending.find('\n');
    if (end == std::string::npos) return std::nullopt;
    std::string line = m_strPending.substr(0, end);
    m_strPending.erase(0, end + 1);
    return line;
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (auto line = TakeLine()) return line;
        if (m_nOutput < 0) return std::nullopt;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd p{m_nOutput, POLLIN, 0};
        const int ready = poll(&p, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return std::nullopt;
        char chunk[4096];
        const ssize_t n = read(m_nOutput, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return std::nullopt;
        m_strPending.append(chunk, static_cast<std::size_t>(n));
    }
}

void ChildProcess::Kill() {
    if (m_nPid > 0) {
        kill(m_nPid, SIGKILL);
        while (waitpid(m_nPid, nullptr, 0) < 0 && errno == EINTR) {
        }
        m_nPid = -1;
    }
    if (m_nOutput >= 0) close(m_nOutput);
    m_nOutput = -1;
}
