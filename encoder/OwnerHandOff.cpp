#include "encoder/OwnerHandOff.h"

#include <utility>

bool OwnerHandOff::Run(CommOwner& owner, std::function<void()> task) {
    std::unique_lock lock(m_Mutex);
    if (m_bStopped) return false;
    const std::uint64_t ticket = ++m_nPosted;
    lock.unlock();
    // Posted without the lock: an owner may run the task before posting returns.
    owner.PostToOwnerThread([self = shared_from_this(), ticket, task = std::move(task)] {
        self->RunPosted(ticket, task);
    });
    lock.lock();
    m_Handled.wait(lock, [&] { return m_bStopped || m_nHandled >= ticket; });
    return !m_bStopped;
}

void OwnerHandOff::Stop() {
    {
        const std::lock_guard lock(m_Mutex);
        m_bStopped = true;
    }
    m_Handled.notify_all();
}

void OwnerHandOff::RunPosted(std::uint64_t ticket, const std::function<void()>& task) {
    {
        const std::lock_guard lock(m_Mutex);
        if (m_bStopped) return;
    }
    task();
    {
        const std::lock_guard lock(m_Mutex);
        m_nHandled = ticket;
    }
    m_Handled.notify_all();
}
