#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "sys/TcpConnection.h"
#include "tools/chartsim/ChartSimulator.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Fault = ChartSimulator::Fault;

// A raw protocol client: one line out, one line back.
class Client {
  public:
    explicit Client(std::uint16_t port)
        : connection_(TcpConnection::Connect("127.0.0.1", port, Deadline())) {}

    bool Connected() const { return connection_ != nullptr; }
    std::optional<std::string> Line() { return connection_->ReadLine(Deadline()); }
    std::optional<std::string> Ask(const std::string& command) {
        if (!connection_->SendAll(command + "\r\n", Deadline())) {
            return std::nullopt;
        }
        return Line();
    }

  private:
    static TcpConnection::Clock::time_point Deadline() { return TcpConnection::Clock::now() + 3s; }
    std::unique_ptr<TcpConnection> connection_;
};

ChartSimulator::Settings Settings(Fault fault = Fault::None, int closeAfter = 0) {
    ChartSimulator::Settings settings;
    settings.clock = "2001-12-22T23:50:58";
    settings.fault = fault;
    settings.closeAfter = closeAfter;
    return settings;
}

TEST(ChartSimulator, AnswersLikeTheChartServer) {
    ChartSimulator simulator(Settings());
    ASSERT_TRUE(simulator.Start());
    Client client(simulator.Port());
    ASSERT_TRUE(client.Connected());
    EXPECT_EQ(client.Line(), "OK! id=1 chart=Chart_1");
    const struct {
        const char* command;
        const char* reply;
    } exchanges[] = {
        {"GETRA", "OK! 05h03m07s"},
        {"GETDEC", "OK! +12d04m09s"},
        {"GETFOV", "OK! +90d00m00s"},
        {"GETDATE", "OK! 2001-12-22T23:50:58"},
        {"GETOBS", "OK! LAT:+43d37m00sLON:-01d27m00sALT:200mOBS:Toulouse"},
        {"MOVE RA:18h36m56.30s DEC:-38d47m1.0s FOV:+120d30m00s", "OK!"},
        {"GETRA", "OK! 18h36m56s"},
        {"GETDEC", "OK! -38d47m01s"},
        {"GETFOV", "OK! +120d30m00s"},
        {"SETRA RA:01h02m03s", "OK!"},
        {"SETDEC DEC:-00d30m00s", "OK!"},
        {"SETFOV 2.5", "OK!"},
        {"GETRA", "OK! 01h02m03s"},
        {"GETDEC", "OK! -00d30m00s"},
        {"GETFOV", "OK! +02d30m00s"},
        {"REDRAW", "OK!"},
        {"MOVE RA:nowhere", "Failed! Bad coordinates"},
        {"LOOKAT M31", "Failed! Bad command name"},
        {"", "Failed! Bad command name"},
        {"QUIT", "Bye!"},
    };
    for (const auto& e : exchanges) {
        EXPECT_EQ(client.Ask(e.command), e.reply) << e.command;
    }
    EXPECT_FALSE(client.Line()) << "closed after QUIT";
    ASSERT_TRUE(simulator.WaitForReceived(std::size(exchanges), 3s));
    EXPECT_EQ(simulator.Received()[5], "MOVE RA:18h36m56.30s DEC:-38d47m1.0s FOV:+120d30m00s");
}

TEST(ChartSimulator, ServesTenClientsAndTurnsAwayTheEleventh) {
    ChartSimulator simulator(Settings());
    ASSERT_TRUE(simulator.Start());
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 1; i <= ChartSimulator::kMaxClients; ++i) {
        clients.push_back(std::make_unique<Client>(simulator.Port()));
        EXPECT_EQ(clients.back()->Line(), "OK! id=" + std::to_string(i) + " chart=Chart_1");
    }
    Client eleventh(simulator.Port());
    EXPECT_EQ(eleventh.Line(), "Failed! Maximum connection reach!");
    EXPECT_FALSE(eleventh.Line());
    EXPECT_EQ(clients.back()->Ask("GETRA"), "OK! 05h03m07s");
}

TEST(ChartSimulator, FaultModes) {
    const struct {
        const char* name;
        ChartSimulator::Settings settings;
        std::vector<std::optional<std::string>> replies;  // to GETRA, GETRA, GETRA
    } cases[] = {
        {"Stall", Settings(Fault::Stall), {std::nullopt, std::nullopt, std::nullopt}},
        {"CloseAfterTwo",
         Settings(Fault::CloseAfter, 2),
         {"OK! 05h03m07s", "OK! 05h03m07s", std::nullopt}},
        {"Garbage",
         Settings(Fault::Garbage),
         {"\x01#@ garbage", "\x01#@ garbage", "\x01#@ garbage"}},
        {"Refuse",
         Settings(Fault::Refuse),
         {"Failed! Refused on request", "Failed! Refused on request",
          "Failed! Refused on request"}},
    };
    for (const auto& c : cases) {
        ChartSimulator::Settings settings = c.settings;
        ChartSimulator simulator(settings);
        ASSERT_TRUE(simulator.Start()) << c.name;
        Client client(simulator.Port());
        EXPECT_EQ(client.Line(), "OK! id=1 chart=Chart_1") << c.name;
        // A stalled server is asked once: every further question would wait again.
        const std::size_t asked = c.settings.fault == Fault::Stall ? 1 : c.replies.size();
        for (std::size_t i = 0; i < asked; ++i) {
            EXPECT_EQ(client.Ask("GETRA"), c.replies[i]) << c.name << " " << i;
        }
        EXPECT_TRUE(simulator.WaitForReceived(asked, 3s)) << c.name;
    }
}

TEST(ChartSimulator, ReadsAnglesInBothForms) {
    EXPECT_DOUBLE_EQ(*ChartSimulator::ParseHours("05h03m07s"), 5 + 3 / 60.0 + 7 / 3600.0);
    EXPECT_DOUBLE_EQ(*ChartSimulator::ParseHours("12.5"), 12.5);
    EXPECT_DOUBLE_EQ(*ChartSimulator::ParseDegrees("-01d27m00s"), -(1 + 27 / 60.0));
    EXPECT_DOUBLE_EQ(*ChartSimulator::ParseDegrees("+12d4m9.0s"), 12 + 4 / 60.0 + 9 / 3600.0);
    EXPECT_DOUBLE_EQ(*ChartSimulator::ParseDegrees("-38.5"), -38.5);
    for (const char* bad : {"", "5h", "north", "1d2m", "++1"}) {
        EXPECT_FALSE(ChartSimulator::ParseDegrees(bad)) << bad;
        EXPECT_FALSE(ChartSimulator::ParseHours(bad)) << bad;
    }
}

// The program run as a child whose standard output is read from a socket
// pair, so reads can have deadlines.
class ChartSimulatorProcess {
  public:
    explicit ChartSimulatorProcess(std::vector<std::string> arguments) {
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
            return;
        }
        fcntl(ends[0], F_SETFL, O_NONBLOCK);
        output_ = std::make_unique<TcpConnection>(ends[0]);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        arguments.insert(arguments.begin(), MIVLO_CHARTSIM);
        std::vector<char*> argv;
        for (std::string& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = 0;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
    }
    ~ChartSimulatorProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }
    ChartSimulatorProcess(const ChartSimulatorProcess&) = delete;
    ChartSimulatorProcess& operator=(const ChartSimulatorProcess&) = delete;

    bool Running() const { return pid_ > 0; }
    int ExitCode() {
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::optional<std::string> PrintedLine() {
        return output_->ReadLine(TcpConnection::Clock::now() + 5s);
    }

  private:
    pid_t pid_ = 0;
    std::unique_ptr<TcpConnection> output_;
};

TEST(ChartSimulatorProgram, PrintsPortThenEveryCommandAsItComes) {
    ChartSimulatorProcess program({"--port", "0", "--ra", "18h36m56s"});
    ASSERT_TRUE(program.Running());
    const auto port = program.PrintedLine();
    ASSERT_TRUE(port);
    Client client(static_cast<std::uint16_t>(std::stoi(*port)));
    EXPECT_EQ(client.Line(), "OK! id=1 chart=Chart_1");
    EXPECT_EQ(client.Ask("GETRA"), "OK! 18h36m56s");
    EXPECT_EQ(program.PrintedLine(), "GETRA");
    // Peer bytes reach a terminal: control bytes are shown as '?'.
    EXPECT_EQ(client.Ask("SAY \x1b[2J"), "Failed! Bad command name");
    EXPECT_EQ(program.PrintedLine(), "SAY ?[2J");
}

TEST(ChartSimulatorProgram, RefusesBadOptionsWithUsage) {
    const std::vector<std::vector<std::string>> cases = {
        {"--port=1"}, {"--ra"}, {"--dec", "north"}, {"--close-after", "-1"}, {"--port", "65536"}};
    for (const auto& arguments : cases) {
        ChartSimulatorProcess program(arguments);
        ASSERT_TRUE(program.Running()) << arguments[0];
        EXPECT_EQ(program.ExitCode(), 2) << arguments[0];
    }
}

}  // namespace
