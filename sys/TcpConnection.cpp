#include "sys/TcpConnection.h"

#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace {

int MillisecondsUntil(TcpConnection::Clock::time_point deadline) {
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(deadline - TcpConnection::Clock::now());
    return left.count() <= 0 ? 0 : static_cast<int>(left.count());
}

// True when fd became ready for events before the deadline.
bool PollUntil(int fd, short events, TcpConnection::Clock::time_point deadline) {
    for (;;) {
        pollfd waiter{fd, events, 0};
        const int result = poll(&waiter, 1, MillisecondsUntil(deadline));
        if (result > 0) {
            return true;
        }
        if (result == 0 || errno != EINTR) {
            return false;
        }
    }
}

struct AddressList {
    addrinfo* head = nullptr;
    AddressList() = default;
    AddressList(const AddressList&) = delete;
    AddressList& operator=(const AddressList&) = delete;
    ~AddressList() {
        if (head != nullptr) {
            freeaddrinfo(head);
        }
    }
};

// One non-blocking connection attempt; -1 when it did not complete in time.
int ConnectTo(const addrinfo& address, TcpConnection::Clock::time_point deadline) {
    const int fd = socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                          address.ai_protocol);
    if (fd < 0) {
        return -1;
    }
    int error = 0;
    socklen_t length = sizeof error;
    const bool started = connect(fd, address.ai_addr, address.ai_addrlen) == 0 ||
                         errno == EINPROGRESS || errno == EINTR;
    if (!started || !PollUntil(fd, POLLOUT, deadline) ||
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
        close(fd);
        return -1;
    }
    // Commands are single short lines answered one by one: send each at once.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

}  // namespace

std::unique_ptr<TcpConnection> TcpConnection::Connect(const std::string& host, std::uint16_t port,
                                                      Clock::time_point deadline) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    AddressList addresses;
    if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &addresses.head) != 0) {
        return nullptr;
    }
    for (const addrinfo* a = addresses.head; a != nullptr; a = a->ai_next) {
        const int fd = ConnectTo(*a, deadline);
        if (fd >= 0) {
            return std::make_unique<TcpConnection>(fd);
        }
    }
    return nullptr;
}

TcpConnection::TcpConnection(int fd) : fd_(fd) {}

TcpConnection::~TcpConnection() {
    close(fd_);
}

bool TcpConnection::SendAll(std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        // MSG_NOSIGNAL: a peer that has gone must not kill the program.
        const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!PollUntil(fd_, POLLOUT, deadline)) {
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

std::optional<std::string> TcpConnection::ReadLine(Clock::time_point deadline) {
    for (;;) {
        if (auto line = TakeBufferedLine()) {
            return line;
        }
        if (buffered_.size() > kMaxLineLength) {
            return std::nullopt;
        }
        char chunk[4096];
        const ssize_t received = recv(fd_, chunk, sizeof chunk, 0);
        if (received > 0) {
            buffered_.append(chunk, static_cast<std::size_t>(received));
        } else if (received < 0 && errno == EINTR) {
            continue;
        } else if (received < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!PollUntil(fd_, POLLIN, deadline)) {
                return std::nullopt;
            }
        } else {
            return std::nullopt;
        }
    }
}

void TcpConnection::ShutdownWrite() {
    shutdown(fd_, SHUT_WR);
}

std::optional<std::string> TcpConnection::TakeBufferedLine() {
    const std::size_t end = buffered_.find('\n');
    if (end == std::string::npos || end > kMaxLineLength) {
        return std::nullopt;
    }
    std::string line = buffered_.substr(0, end);
    buffered_.erase(0, end + 1);
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return line;
}
