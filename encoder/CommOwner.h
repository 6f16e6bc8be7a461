#pragma once
#include <cstdint>
#include <functional>
#include <string>
// The window that receives the serial port's notifications. The driver's
// listening thread reaches it only through PostToOwnerThread.
class CommOwner {
  public:
    virtual ~CommOwner() = default;
    // Queues task to run later on the owner's (UI) thread; callable from any thread.
    // Tasks run in the order posted. A task may be dropped if the owner is gone.
    virtual void PostToOwnerThread(std::function<void()> task) = 0;
    // The owner's handler of a notification (WM_COMM_RXCHAR etc.); runs on the owner's thread.
    virtual long OnCommNotification(unsigned message, std::uintptr_t wParam,
                                    std::intptr_t lParam) = 0;
    // Shows the driver's error box (caption "Application Error", error icon, OK) modally;
    // runs on the owner's thread and returns when the user dismissed it.
    virtual void ShowApplicationError(const std::string& text) = 0;
};
