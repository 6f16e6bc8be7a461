#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// Another program, its standard output read line by line. Started with
// posix_spawn, which, unlike fork, is sound in a program whose threads are
// running (the sanitizers refuse a fork there). Killed when dropped.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // argv[0] is the program's path; false when it could not be started.
    bool Start(const std::vector<std::string>& argv);
    // The next whole line of its output, without the line end, waiting for it
    // up to `timeout`; nothing when none came or the output has ended.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    // Kills it and waits for it to be gone.
    void Kill();

  private:
    std::optional<std::string> TakeLine();

    pid_t m_nPid = -1;
    int m_nOutput = -1;
    std::string m_strPending;
};
