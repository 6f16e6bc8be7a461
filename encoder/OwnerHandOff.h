#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>

#include "encoder/CommOwner.h"

// The listening thread's way to its owner's thread: one task at a time, run
// there while the listener waits, unless a stop comes first. One hand-off
// serves one listening thread; the tasks it posts share it, so it outlives
// the driver if they run late.
class OwnerHandOff : public std::enable_shared_from_this<OwnerHandOff> {
  public:
    // Runs task on the owner's thread. True once it has run; false as soon as
    // the hand-off is stopped, and the task then never starts.
    bool Run(CommOwner& owner, std::function<void()> task);
    // Wakes a waiting Run. Callable from any thread, the owner's included.
    void Stop();

  private:
    void RunPosted(std::uint64_t ticket, const std::function<void()>& task);

    std::mutex m_Mutex;
    std::condition_variable m_Handled;
    bool m_bStopped = false;
    std::uint64_t m_nPosted = 0;
    std::uint64_t m_nHandled = 0;
};
