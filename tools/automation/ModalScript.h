#pragma once

#include <QString>
#include <QWidget>
#include <functional>

// Drives modal windows from outside, the way a person would: waits until a
// new modal window is active and acts on it, while the code that opened it
// runs unchanged inside its own modal loop. Used by the tests, the demo and
// the screenshot tool.

// Calls action with the next modal window that becomes active other than
// `current` (nullptr: any), or with nullptr if none appears within timeoutMs.
// Returns at once; the action runs from the event loop.
void WhenModalAppears(QWidget* current, std::function<void(QWidget*)> action,
                      int timeoutMs = 10000);

// Runs the event loop until done() is true or timeoutMs has passed; returns
// done().
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// The text of a message box, with its caption and icon, for checks.
struct ShownBox {
    QString caption;
    QString text;
    int icon = 0;  // QMessageBox::Icon
};

// While it lives, accepts every message box that appears (pressing its
// button) and keeps what it showed, in order.
class BoxRecorder {
  public:
    BoxRecorder();
    ~BoxRecorder();
    BoxRecorder(const BoxRecorder&) = delete;
    BoxRecorder& operator=(const BoxRecorder&) = delete;

    const std::vector<ShownBox>& Boxes() const;
    QStringList Texts() const;
    void Clear();

  private:
    struct State;
    State* m_pState;
};
