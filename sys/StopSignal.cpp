#include "sys/StopSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

StopSignal::StopSignal() : m_nDescriptor(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
    if (m_nDescriptor < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

StopSignal::~StopSignal() {
    close(m_nDescriptor);
}

void StopSignal::Raise() {
    const std::uint64_t one = 1;
    // Only EINTR can interrupt it: the counter cannot overflow from a few raises.
    while (write(m_nDescriptor, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void StopSignal::Clear() {
    std::uint64_t count = 0;
    // Non-blocking: EAGAIN simply means it was not raised.
    while (read(m_nDescriptor, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

void StopSignal::Wait() const {
    pollfd descriptor{m_nDescriptor, POLLIN, 0};
    while (poll(&descriptor, 1, -1) < 0 && errno == EINTR) {
    }
}
