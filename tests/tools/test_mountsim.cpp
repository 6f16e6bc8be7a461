#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "encoder/MouseEncoder.h"
#include "tools/mountsim/MountMotion.h"
#include "tools/mountsim/SerialMousePacket.h"

namespace {

TEST(SerialMousePacket, EveryMovementDecodesBackThroughTheRealDecoder) {
    MouseEncoder e;
    for (int dx = -128; dx <= 127; ++dx) {
        for (int dy = -128; dy <= 127; ++dy) {
            for (const std::uint8_t b : EncodeMousePacket(dx, dy)) e.TomarByte(b);
            ASSERT_EQ(e.m_nMovX, dx) << dy;
            ASSERT_EQ(e.m_nMovY, dy) << dx;
        }
    }
}

std::pair<long long, long long> Sumar(MountMotion& m, int paquetes) {
    long long x = 0;
    long long y = 0;
    for (int i = 0; i < paquetes; ++i) {
        const auto [dx, dy] = m.Next();
        EXPECT_LE(std::abs(dx), 127);
        EXPECT_LE(std::abs(dy), 127);
        x += dx;
        y += dy;
    }
    return {x, y};
}

TEST(MountMotion, SlewCarriesFractionsAndSplitsLargeMoves) {
    MountMotion lento = MountMotion::Slew(7, -3, 2);
    EXPECT_EQ(Sumar(lento, 4), (std::pair<long long, long long>{14, -6}));
    MountMotion rapido = MountMotion::Slew(1000, 0, 2);  // 500 a packet: more than a packet holds
    EXPECT_EQ(Sumar(rapido, 2).first, 254);
}

TEST(MountMotion, ScriptMovesThenEnds) {
    MountMotion m = MountMotion::Script("10 -5\n# a comment\n\n300 0  # slew\n");
    EXPECT_EQ(m.Next(), (std::pair<int, int>{10, -5}));
    EXPECT_EQ(Sumar(m, 3), (std::pair<long long, long long>{300, 0}));
    EXPECT_TRUE(m.Finished());
    EXPECT_THROW(MountMotion::Script("1 2\nthree 4\n"), std::invalid_argument);
    EXPECT_THROW(MountMotion::Script("1 2 3\n"), std::invalid_argument);
}

// Runs the program and reads the line it plays until it ends.
struct Corrida {
    std::vector<std::uint8_t> bytes;
    std::string salida;
};

Corrida Correr(const std::string& opciones) {
    const auto enlace =
        std::filesystem::temp_directory_path() / ("mivlo-mountsim-" + std::to_string(getpid()));
    const std::string orden =
        std::string(MIVLO_MOUNTSIM) + " --link " + enlace.string() + " " + opciones;
    FILE* programa = popen(orden.c_str(), "r");
    Corrida c;
    if (programa == nullptr) return c;
    char linea[256];
    if (std::fgets(linea, sizeof linea, programa) != nullptr) c.salida += linea;
    int fd = -1;
    for (int i = 0; i < 200 && fd < 0; ++i) {
        fd = open(enlace.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
        if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    for (;;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 3000) <= 0) break;
        std::uint8_t buf[512];
        const ssize_t n = read(fd, buf, sizeof buf);
        if (n <= 0) break;  // the program closed the line
        c.bytes.insert(c.bytes.end(), buf, buf + n);
    }
    if (fd >= 0) close(fd);
    while (std::fgets(linea, sizeof linea, programa) != nullptr) c.salida += linea;
    pclose(programa);
    return c;
}

TEST(MountSimulatorProgram, SendsTheIdentificationThenPacketsOfTheCountsItReports) {
    const Corrida c = Correr("--fast --slew 2000,-700 --seconds 0.5");
    ASSERT_FALSE(c.bytes.empty());
    EXPECT_EQ(c.bytes.front(), 'M');
    MouseEncoder e;
    long long x = 0;
    long long y = 0;
    for (const std::uint8_t b : c.bytes) {
        e.TomarByte(b);
        x += e.m_nMovX;
        y += e.m_nMovY;
    }
    const std::string total = "total X=" + std::to_string(x) + " Y=" + std::to_string(y) + "\n";
    EXPECT_NE(c.salida.find(total), std::string::npos) << c.salida;
    EXPECT_GT(x, 0);
    EXPECT_LT(y, 0);
}

TEST(MountSimulatorProgram, NeverOutrunsTheLineRate) {
    // 1200 baud, 9 bits a byte: at most about 133 bytes a second, however
    // the reader keeps up.
    const Corrida c = Correr("--slew 20,10 --seconds 1");
    EXPECT_GE(c.bytes.size(), 4u);
    EXPECT_LE(c.bytes.size(), 136u);
}

}  // namespace
