#include "tools/chartsim/ChartSimulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <regex>

namespace {

constexpr std::size_t kMaxLineLength = 64 * 1024;

void SendLine(int fd, const std::string& line) {
    const std::string bytes = line + "\r\n";
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

// Whole seconds, truncated as the server shows them; a hair added so that
// a value read from "07s" shows as 07 again.
long WholeSeconds(double units, double secondsPerUnit) {
    return static_cast<long>(std::floor(units * secondsPerUnit + 1e-6));
}

std::string FormatHours(double hours) {
    const long day = 24 * 3600;
    const long t = ((WholeSeconds(hours, 3600) % day) + day) % day;
    char text[32];
    std::snprintf(text, sizeof text, "%02ldh%02ldm%02lds", t / 3600, t / 60 % 60, t % 60);
    return text;
}

std::string FormatDegrees(double degrees) {
    const long t = WholeSeconds(std::fabs(degrees), 3600);
    char text[40];
    std::snprintf(text, sizeof text, "%c%02ldd%02ldm%02lds", degrees < 0 ? '-' : '+', t / 3600,
                  t / 60 % 60, t % 60);
    return text;
}

std::optional<double> ParseDecimal(const std::string& text) {
    static const std::regex decimal(R"([+-]?\d+(?:\.\d*)?)");
    if (!std::regex_match(text, decimal)) {
        return std::nullopt;
    }
    return std::stod(text);
}

// The value after a key such as "RA:", blanks after the key allowed.
std::optional<std::string> ValueAfter(const std::string& arguments, const std::string& key) {
    const std::size_t at = arguments.find(key);
    if (at == std::string::npos) {
        return std::nullopt;
    }
    const std::size_t begin = arguments.find_first_not_of(' ', at + key.size());
    if (begin == std::string::npos) {
        return std::nullopt;
    }
    return arguments.substr(begin, arguments.find(' ', begin) - begin);
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

ChartSimulator::ChartSimulator(Settings settings, std::function<void(const std::string&)> onCommand)
    : settings_(std::move(settings)), onCommand_(std::move(onCommand)) {}

ChartSimulator::~ChartSimulator() {
    Stop();
    Wait();
    for (const Client& client : clients_) {
        close(client.fd);
    }
    if (listener_ >= 0) {
        close(listener_);
    }
    if (wake_ >= 0) {
        close(wake_);
    }
}

bool ChartSimulator::Start() {
    listener_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    wake_ = eventfd(0, EFD_CLOEXEC);
    if (listener_ < 0 || wake_ < 0) {
        return false;
    }
    const int on = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // Loopback only: the simulator is for this machine's tests and trials.
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(settings_.port);
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        return false;
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread(&ChartSimulator::Serve, this);
    return true;
}

void ChartSimulator::Stop() {
    if (wake_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wake_, &one, sizeof one);
    }
}

void ChartSimulator::Wait() {
    if (thread_.joinable()) {
        thread_.join();
    }
}

std::vector<std::string> ChartSimulator::Received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

bool ChartSimulator::WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return received_.size() >= count; });
}

std::optional<double> ChartSimulator::ParseHours(const std::string& text) {
    static const std::regex hms(R"((\d+)h(\d+)m(\d+(?:\.\d*)?)s)");
    std::smatch m;
    if (std::regex_match(text, m, hms)) {
        return std::stod(m[1]) + std::stod(m[2]) / 60 + std::stod(m[3]) / 3600;
    }
    return ParseDecimal(text);
}

std::optional<double> ChartSimulator::ParseDegrees(const std::string& text) {
    static const std::regex dms(R"(([+-]?)(\d+)d(\d+)m(\d+(?:\.\d*)?)s)");
    std::smatch m;
    if (std::regex_match(text, m, dms)) {
        const double magnitude = std::stod(m[2]) + std::stod(m[3]) / 60 + std::stod(m[4]) / 3600;
        return m[1] == "-" ? -magnitude : magnitude;
    }
    return ParseDecimal(text);
}

// The only thread that touches the settings and the clients; the record of
// received commands is shared with the test thread under the mutex.
void ChartSimulator::Serve() {
    for (;;) {
        std::vector<pollfd> waiters{{wake_, POLLIN, 0}, {listener_, POLLIN, 0}};
        for (const Client& client : clients_) {
            waiters.push_back({client.fd, POLLIN, 0});
        }
        if (poll(waiters.data(), waiters.size(), -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        if (waiters[0].revents != 0) {
            return;
        }
        std::vector<int> finished;
        for (std::size_t i = 2; i < waiters.size(); ++i) {
            if (waiters[i].revents != 0 && !Receive(clients_[i - 2])) {
                finished.push_back(clients_[i - 2].fd);
            }
        }
        std::erase_if(clients_, [&](const Client& client) {
            const bool done = std::ranges::find(finished, client.fd) != finished.end();
            if (done) {
                close(client.fd);
            }
            return done;
        });
        if (waiters[1].revents != 0) {
            Accept();
        }
    }
}

void ChartSimulator::Accept() {
    const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) {
        return;
    }
    if (static_cast<int>(clients_.size()) >= kMaxClients) {
        SendLine(fd, "Failed! Maximum connection reach!");
        close(fd);
        return;
    }
    // Replies are short lines each awaited by the client: send each at once.
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    SendLine(fd, "OK! id=" + std::to_string(nextId_++) + " chart=Chart_1");
    clients_.push_back(Client{fd, {}, 0});
}

bool ChartSimulator::Receive(Client& client) {
    char chunk[4096];
    const ssize_t n = recv(client.fd, chunk, sizeof chunk, 0);
    if (n <= 0) {
        return n < 0 && errno == EINTR;
    }
    client.input.append(chunk, static_cast<std::size_t>(n));
    for (std::size_t end; (end = client.input.find('\n')) != std::string::npos;) {
        std::string line = client.input.substr(0, end);
        client.input.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!Handle(client, line)) {
            return false;
        }
    }
    return client.input.size() <= kMaxLineLength;
}

bool ChartSimulator::Handle(Client& client, const std::string& line) {
    if (onCommand_) {
        onCommand_(line);
    }
    {
        std::lock_guard lock(mutex_);
        received_.push_back(line);
    }
    changed_.notify_all();
    if (settings_.fault == Fault::CloseAfter && client.commands >= settings_.closeAfter) {
        return false;
    }
    ++client.commands;
    const std::optional<std::string> reply = Reply(line);
    if (!reply) {
        return true;
    }
    if (settings_.statusLines) {
        SendLine(client.fd, ">Chart_1 redraw");
    }
    SendLine(client.fd, *reply);
    return Upper(line) != "QUIT";
}

std::optional<std::string> ChartSimulator::Reply(const std::string& line) {
    if (settings_.fault == Fault::Stall) {
        return std::nullopt;
    }
    if (settings_.fault == Fault::Garbage) {
        return "\x01#@ garbage";
    }
    if (settings_.fault == Fault::Refuse) {
        return "Failed! Refused on request";
    }
    const std::size_t blank = line.find(' ');
    const std::string command = Upper(line.substr(0, blank));
    const std::string arguments = blank == std::string::npos ? "" : line.substr(blank + 1);
    const auto value = [&](const char* key) {
        return ValueAfter(arguments, key).value_or(arguments);
    };
    if (command == "GETRA") return "OK! " + FormatHours(settings_.raHours);
    if (command == "GETDEC") return "OK! " + FormatDegrees(settings_.decDegrees);
    if (command == "GETFOV") return "OK! " + FormatDegrees(settings_.fovDegrees);
    if (command == "GETDATE") return "OK! " + Clock();
    if (command == "GETOBS") {
        return "OK! LAT:" + FormatDegrees(settings_.latitude) +
               "LON:" + FormatDegrees(settings_.longitudeWest) +
               "ALT:" + std::to_string(settings_.altitude) + "mOBS:" + settings_.observatory;
    }
    if (command == "QUIT") return "Bye!";
    if (command == "REDRAW") return "OK!";
    if (command == "MOVE") {
        const auto ra = ParseHours(ValueAfter(arguments, "RA:").value_or(""));
        const auto dec = ParseDegrees(ValueAfter(arguments, "DEC:").value_or(""));
        if (!ra || !dec) {
            return "Failed! Bad coordinates";
        }
        settings_.raHours = *ra;
        settings_.decDegrees = *dec;
        if (const auto fov = ValueAfter(arguments, "FOV:")) {
            settings_.fovDegrees = ParseDegrees(*fov).value_or(settings_.fovDegrees);
        }
        return "OK!";
    }
    const auto setter = [](std::optional<double> parsed, double& target) -> std::string {
        if (!parsed) {
            return "Failed! Bad coordinates";
        }
        target = *parsed;
        return "OK!";
    };
    if (command == "SETRA") return setter(ParseHours(value("RA:")), settings_.raHours);
    if (command == "SETDEC") return setter(ParseDegrees(value("DEC:")), settings_.decDegrees);
    if (command == "SETFOV") return setter(ParseDegrees(value("FOV:")), settings_.fovDegrees);
    return "Failed! Bad command name";
}

std::string ChartSimulator::Clock() const {
    if (!settings_.clock.empty()) {
        return settings_.clock;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}
