// Linked into a Qt program, reports when its first window is shown and how much
// memory the program holds once it has settled, then ends it:
//   shown <CLOCK_MONOTONIC nanoseconds> <resident kB>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace {

// Long enough for the deferred work of the first show (layout, fonts) to land.
constexpr int kSettleMs = 500;

long long MonotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

long ResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value) return value;
        status.ignore(4096, '\n');
    }
    return 0;
}

class ShownProbe : public QObject {
  public:
    using QObject::QObject;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (m_nShownAt == 0 && event->type() == QEvent::Expose) {
            if (auto* window = qobject_cast<QWindow*>(watched);
                window != nullptr && window->isExposed()) {
                m_nShownAt = MonotonicNanoseconds();
                QTimer::singleShot(kSettleMs, this, [this] { Report(); });
            }
        }
        return false;
    }

  private:
    void Report() const {
        std::printf("shown %lld %ld\n", m_nShownAt, ResidentKilobytes());
        std::fflush(stdout);
        // The program under test is inside a modal loop that nothing else ends.
        std::_Exit(0);
    }

    long long m_nShownAt = 0;
};

void InstallShownProbe() {
    QCoreApplication::instance()->installEventFilter(new ShownProbe(QCoreApplication::instance()));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallShownProbe)
