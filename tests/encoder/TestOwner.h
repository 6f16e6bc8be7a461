#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "encoder/CommOwner.h"

struct Notification {
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
    bool operator==(const Notification&) const = default;
};

// Stands in for the main window: a thread that runs the posted tasks in
// order, as the UI thread's event loop does, and records what reached it.
// Error boxes are dismissed at once.
class TestOwner : public CommOwner {
  public:
    TestOwner();
    ~TestOwner() override;

    void PostToOwnerThread(std::function<void()> task) override;
    long OnCommNotification(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void ShowApplicationError(const std::string& text) override;

    // Runs on the owner's thread inside the handler of each notification,
    // after it was recorded. Set it before listening starts.
    std::function<void(const Notification&)> m_OnNotification;

    // Each waits a few seconds at most; false if the count was not reached.
    bool WaitForNotifications(std::size_t count);
    bool WaitForBoxes(std::size_t count);
    bool WaitForPosted(std::size_t count);
    // Runs task on the owner's thread after every task posted before it, and
    // waits for it.
    void RunOnOwnerThread(const std::function<void()>& task);
    // Returns once every task posted before it has run or been dropped.
    void RunPending() {
        RunOnOwnerThread([] {});
    }

    std::vector<Notification> Notifications();
    std::vector<std::string> Boxes();
    // Whether a task was posted while a notification was being handled.
    bool PostedWhileBusy();

  private:
    bool WaitFor(const std::function<bool()>& done);
    void Loop();

    std::mutex m_Mutex;
    std::condition_variable m_Changed;
    std::deque<std::function<void()>> m_Tasks;
    std::size_t m_nPosted = 0;
    bool m_bHandling = false;
    bool m_bPostedWhileBusy = false;
    bool m_bQuit = false;
    std::vector<Notification> m_Notifications;
    std::vector<std::string> m_Boxes;
    std::thread m_Thread;
};
