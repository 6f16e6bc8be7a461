#include "sys/PosixSerialDevice.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <utility>

namespace {

// Repeats a system call that a signal interrupted; errno is left as the last
// call set it.
template <typename Call>
auto RetryOnInterrupt(Call call) {
    auto result = call();
    while (result < 0 && errno == EINTR) result = call();
    return result;
}

constexpr std::array<std::pair<unsigned, speed_t>, 18> kSpeeds{{
    {50, B50},
    {75, B75},
    {110, B110},
    {134, B134},
    {150, B150},
    {200, B200},
    {300, B300},
    {600, B600},
    {1200, B1200},
    {1800, B1800},
    {2400, B2400},
    {4800, B4800},
    {9600, B9600},
    {19200, B19200},
    {38400, B38400},
    {57600, B57600},
    {115200, B115200},
    {230400, B230400},
}};

bool SpeedOf(unsigned baud, speed_t& speed) {
    for (const auto& [rate, code] : kSpeeds) {
        if (rate == baud) {
            speed = code;
            return true;
        }
    }
    return false;
}

bool SizeOf(unsigned dataBits, tcflag_t& size) {
    constexpr std::array<tcflag_t, 4> kSizes{CS5, CS6, CS7, CS8};
    if (dataBits < 5 || dataBits > 8) return false;
    size = kSizes[dataBits - 5];
    return true;
}

// The letters that the system's build text takes: none, even, odd, mark, space.
bool ParityOf(char parity, tcflag_t& flags) {
    switch (parity) {
        case 'N':
        case 'n':
            flags = 0;
            return true;
        case 'E':
        case 'e':
            flags = PARENB;
            return true;
        case 'O':
        case 'o':
            flags = PARENB | PARODD;
            return true;
        case 'M':
        case 'm':
            flags = PARENB | CMSPAR | PARODD;
            return true;
        case 'S':
        case 's':
            flags = PARENB | CMSPAR;
            return true;
        default:
            return false;
    }
}

bool StopBitsOf(unsigned stopBits, tcflag_t& flags) {
    if (stopBits != 1 && stopBits != 2) return false;
    flags = stopBits == 2 ? CSTOPB : 0;
    return true;
}

// Slaves of the Unix 98 pseudo-terminals, and of the legacy BSD ones.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;
constexpr unsigned kLegacyPtySlaveMajor = 3;

}  // namespace

PosixSerialDevice::~PosixSerialDevice() {
    Close();
}

std::string PosixSerialDevice::DevicePath(unsigned port) {
    if (port == 0) return {};
    const std::string variable = "MIVLO_COM" + std::to_string(port);
    if (const char* path = std::getenv(variable.c_str()); path != nullptr && *path != '\0') {
        return path;
    }
    return "/dev/ttyS" + std::to_string(port - 1);
}

int PosixSerialDevice::Open(unsigned port) {
    Close();
    const std::string path = DevicePath(port);
    if (path.empty()) return ENOENT;
    // No controlling terminal, so a hang-up sends us no signal; non-blocking,
    // so the open does not wait for a carrier the mouse never raises.
    const int descriptor = RetryOnInterrupt(
        [&] { return open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC); });
    if (descriptor < 0) return errno;
    // The lock is what keeps a second program (or driver) off the port even
    // for root, who passes TIOCEXCL.
    if (RetryOnInterrupt([&] { return flock(descriptor, LOCK_EX | LOCK_NB); }) != 0) {
        const int error = errno;
        close(descriptor);
        return error == EWOULDBLOCK ? EBUSY : error;
    }
    // A device that is no terminal fails here too; reading its settings reports it.
    ioctl(descriptor, TIOCEXCL);
    m_nDescriptor = descriptor;
    return 0;
}

void PosixSerialDevice::Close() {
    if (!IsOpen()) return;
    // The exclusive flag outlives our descriptor while anyone else holds the tty.
    ioctl(m_nDescriptor, TIOCNXCL);
    close(m_nDescriptor);
    m_nDescriptor = -1;
}

int PosixSerialDevice::SetReadTimeouts() {
    const int flags = fcntl(m_nDescriptor, F_GETFL);
    if (flags < 0) return errno;
    if (fcntl(m_nDescriptor, F_SETFL, flags | O_NONBLOCK) < 0) return errno;
    return 0;
}

int PosixSerialDevice::ReadSettings() {
    return tcgetattr(m_nDescriptor, &m_Settings) == 0 ? 0 : errno;
}

int PosixSerialDevice::BuildSettings(unsigned baud, char parity, unsigned dataBits,
                                     unsigned stopBits) {
    speed_t speed = B0;
    tcflag_t size = 0;
    tcflag_t parityFlags = 0;
    tcflag_t stopFlags = 0;
    if (!SpeedOf(baud, speed) || !SizeOf(dataBits, size) || !ParityOf(parity, parityFlags) ||
        !StopBitsOf(stopBits, stopFlags)) {
        return EINVAL;
    }
    termios settings = m_Settings;
    cfmakeraw(&settings);
    // The driver never transmits, not even an XOFF.
    settings.c_iflag &= ~static_cast<tcflag_t>(IXOFF);
    // RTS powers the mouse, so it stays out of flow control.
    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= size | parityFlags | stopFlags | CREAD | CLOCAL;
    if (cfsetispeed(&settings, speed) != 0 || cfsetospeed(&settings, speed) != 0) return errno;
    m_Settings = settings;
    return 0;
}

int PosixSerialDevice::ApplySettings() {
    if (RetryOnInterrupt([&] { return tcsetattr(m_nDescriptor, TCSANOW, &m_Settings); }) != 0) {
        const int error = errno;
        // The C library reads the settings back and refuses a character size
        // that did not stick; a pseudo-terminal has no framing and keeps 8 bits.
        if (error != EINVAL || !IsPseudoTerminal()) return error;
    }
    return HoldRtsOn();
}

int PosixSerialDevice::HoldRtsOn() {
    const int rts = TIOCM_RTS;
    if (ioctl(m_nDescriptor, TIOCMBIS, &rts) == 0) return 0;
    const int error = errno;
    // A pseudo-terminal has no modem lines to raise.
    if ((error == ENOTTY || error == EINVAL) && IsPseudoTerminal()) return 0;
    return error;
}

bool PosixSerialDevice::IsPseudoTerminal() const {
    struct stat status {};
    if (fstat(m_nDescriptor, &status) != 0 || !S_ISCHR(status.st_mode)) return false;
    const unsigned deviceMajor = major(status.st_rdev);
    return (deviceMajor >= kFirstPtySlaveMajor && deviceMajor <= kLastPtySlaveMajor) ||
           deviceMajor == kLegacyPtySlaveMajor;
}

void PosixSerialDevice::Purge() {
    tcflush(m_nDescriptor, TCIOFLUSH);
}

int PosixSerialDevice::WaitForEvent(const StopSignal& stop, bool watchInput, SerialEvent& event) {
    event = {};
    if (!IsOpen()) return EBADF;
    std::array<pollfd, 2> descriptors{{
        {stop.Descriptor(), POLLIN, 0},
        // Hang-ups and errors are reported even when input is not watched.
        {m_nDescriptor, static_cast<short>(watchInput ? POLLIN : 0), 0},
    }};
    if (RetryOnInterrupt([&] { return poll(descriptors.data(), descriptors.size(), -1); }) < 0) {
        return errno;
    }
    event.stop = (descriptors[0].revents & POLLIN) != 0;
    event.input = (descriptors[1].revents & POLLIN) != 0;
    event.hungUp = (descriptors[1].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    return 0;
}

int PosixSerialDevice::BytesWaiting(int& count) {
    return ioctl(m_nDescriptor, FIONREAD, &count) == 0 ? 0 : errno;
}

int PosixSerialDevice::ReadByte(std::uint8_t& byte) {
    const ssize_t result = RetryOnInterrupt([&] { return read(m_nDescriptor, &byte, 1); });
    if (result == 1) return 0;
    // End of file on a terminal: it has hung up.
    if (result == 0) return EIO;
    return errno;
}
