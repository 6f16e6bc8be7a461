#include <gtest/gtest.h>

#include <pty.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>

#include "sys/PosixSerialDevice.h"

namespace {

TEST(PosixSerialDevice, NamesComPortsAfterTheEnvironmentOrTheStandardDevices) {
    const struct {
        unsigned port;
        const char* variable;  // nullptr: unset
        const char* path;
    } cases[] = {
        {1, nullptr, "/dev/ttyS0"}, {4, nullptr, "/dev/ttyS3"}, {1, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {2, "", "/dev/ttyS1"},      {0, nullptr, ""},
    };
    for (const auto& c : cases) {
        const std::string name = "MIVLO_COM" + std::to_string(c.port);
        if (c.variable != nullptr) {
            setenv(name.c_str(), c.variable, 1);
        } else {
            unsetenv(name.c_str());
        }
        EXPECT_EQ(PosixSerialDevice::DevicePath(c.port), c.path) << name;
        unsetenv(name.c_str());
    }
}

TEST(PosixSerialDevice, OpeningAMissingDeviceGivesTheSystemsError) {
    setenv("MIVLO_COM1", "/nonexistent/tty", 1);
    PosixSerialDevice device;
    EXPECT_EQ(device.Open(1), ENOENT);
    EXPECT_EQ(device.Open(0), ENOENT);
    EXPECT_FALSE(device.IsOpen());
    unsetenv("MIVLO_COM1");
}

// The line discipline of a pseudo-terminal forces 8 bits and no parity, so the
// frame is checked as built, before it is applied.
TEST(PosixSerialDevice, BuildsTheAskedFrameInRawMode) {
    std::array<char, 128> name{};
    int master = -1;
    int slave = -1;
    ASSERT_EQ(openpty(&master, &slave, name.data(), nullptr, nullptr), 0);
    setenv("MIVLO_COM1", name.data(), 1);
    const struct {
        unsigned baud;
        char parity;
        unsigned dataBits;
        unsigned stopBits;
        speed_t speed;
        tcflag_t frame;
    } cases[] = {
        {1200, 'N', 7, 1, B1200, CS7},
        {9600, 'e', 8, 2, B9600, CS8 | PARENB | CSTOPB},
        {300, 'O', 5, 1, B300, CS5 | PARENB | PARODD},
        {1200, 'S', 6, 1, B1200, CS6 | PARENB | CMSPAR},
    };
    for (const auto& c : cases) {
        PosixSerialDevice device;
        ASSERT_EQ(device.Open(1), 0);
        ASSERT_EQ(device.ReadSettings(), 0);
        ASSERT_EQ(device.BuildSettings(c.baud, c.parity, c.dataBits, c.stopBits), 0);
        const termios& settings = device.PendingSettings();
        EXPECT_EQ(cfgetispeed(&settings), c.speed);
        EXPECT_EQ(cfgetospeed(&settings), c.speed);
        EXPECT_EQ(settings.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS),
                  c.frame);
        EXPECT_EQ(settings.c_cflag & (CREAD | CLOCAL), static_cast<tcflag_t>(CREAD | CLOCAL));
        EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0U);
        EXPECT_EQ(settings.c_iflag & (IXON | IXOFF | ISTRIP), 0U);
        EXPECT_EQ(device.ApplySettings(), 0) << "RTS on a pseudo-terminal is no failure";
    }
    unsetenv("MIVLO_COM1");
    close(slave);
    close(master);
}

}  // namespace
