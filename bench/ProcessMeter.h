#pragma once

#include <sys/types.h>

#include <map>
#include <string>
#include <vector>

// What a running process has spent so far, summed over all its threads.
struct ProcessCost {
    double cpuSeconds = 0;
    // Each time a thread went to sleep on its own (voluntary context
    // switches); every one of them ends in a wake-up.
    long wakeUps = 0;
};

// The cost so far of each thread of the process, by thread id, read from
// /proc/<pid>/task/*/.
std::map<pid_t, ProcessCost> MeasureThreads(pid_t pid);

// Adds up what a process spends while it runs, thread by thread, so that a
// thread that ends meanwhile does not take its past cost away with it.
class CostAccumulator {
  public:
    explicit CostAccumulator(pid_t pid);
    // Takes a new reading; call it often enough that a short-lived thread is seen.
    void Sample();
    const ProcessCost& Total() const { return m_Total; }

  private:
    pid_t m_nPid;
    std::map<pid_t, ProcessCost> m_Last;
    ProcessCost m_Total;
};

// The monotonic clock in nanoseconds, comparable across processes.
long long MonotonicNanoseconds();

// A program started with its standard output on a pipe that we read by lines.
// The child is killed and reaped when this goes.
class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return m_nPid; }
    // The next line the child prints, without its end; empty when it ends or
    // stays silent for timeoutMs.
    std::string ReadLine(int timeoutMs);
    // Waits for the child to end by itself.
    void Wait();

  private:
    pid_t m_nPid = -1;
    int m_nOutput = -1;
    std::string m_strPending;
};
