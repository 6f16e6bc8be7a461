#include "tests/encoder/TestOwner.h"

#include <chrono>
#include <future>

TestOwner::TestOwner() : m_Thread([this] { Loop(); }) {}

TestOwner::~TestOwner() {
    {
        const std::lock_guard lock(m_Mutex);
        m_bQuit = true;
    }
    m_Changed.notify_all();
    m_Thread.join();
}

void TestOwner::PostToOwnerThread(std::function<void()> task) {
    {
        const std::lock_guard lock(m_Mutex);
        if (m_bHandling) m_bPostedWhileBusy = true;
        ++m_nPosted;
        m_Tasks.push_back(std::move(task));
    }
    m_Changed.notify_all();
}

long TestOwner::OnCommNotification(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    const Notification notification{message, wParam, lParam};
    {
        const std::lock_guard lock(m_Mutex);
        m_Notifications.push_back(notification);
        m_bHandling = true;
    }
    m_Changed.notify_all();
    if (m_OnNotification) m_OnNotification(notification);
    // Cleared before the hand-off learns the handler is done, so a post after
    // that is the next one rather than one made while busy.
    const std::lock_guard lock(m_Mutex);
    m_bHandling = false;
    return 0;
}

void TestOwner::ShowApplicationError(const std::string& text) {
    {
        const std::lock_guard lock(m_Mutex);
        m_Boxes.push_back(text);
    }
    m_Changed.notify_all();
}

bool TestOwner::WaitForNotifications(std::size_t count) {
    return WaitFor([&] { return m_Notifications.size() >= count; });
}

bool TestOwner::WaitForBoxes(std::size_t count) {
    return WaitFor([&] { return m_Boxes.size() >= count; });
}

bool TestOwner::WaitForPosted(std::size_t count) {
    return WaitFor([&] { return m_nPosted >= count; });
}

void TestOwner::RunOnOwnerThread(const std::function<void()>& task) {
    std::promise<void> ran;
    // Posted directly, so that it does not count as a hand-off of the driver.
    {
        const std::lock_guard lock(m_Mutex);
        m_Tasks.push_back([&] {
            task();
            ran.set_value();
        });
    }
    m_Changed.notify_all();
    ran.get_future().wait();
}

std::vector<Notification> TestOwner::Notifications() {
    const std::lock_guard lock(m_Mutex);
    return m_Notifications;
}

std::vector<std::string> TestOwner::Boxes() {
    const std::lock_guard lock(m_Mutex);
    return m_Boxes;
}

bool TestOwner::PostedWhileBusy() {
    const std::lock_guard lock(m_Mutex);
    return m_bPostedWhileBusy;
}

bool TestOwner::WaitFor(const std::function<bool()>& done) {
    std::unique_lock lock(m_Mutex);
    return m_Changed.wait_for(lock, std::chrono::seconds(5), done);
}

void TestOwner::Loop() {
    std::unique_lock lock(m_Mutex);
    for (;;) {
        m_Changed.wait(lock, [this] { return m_bQuit || !m_Tasks.empty(); });
        // Tasks still queued when the owner goes are dropped, as the contract allows.
        if (m_bQuit) return;
        auto task = std::move(m_Tasks.front());
        m_Tasks.pop_front();
        lock.unlock();
        task();
        lock.lock();
    }
}
