#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

// A stand-in for Cartes du Ciel's TCP command server on 127.0.0.1, for tests
// and for trying the program without a planetarium. It greets each client,
// answers GETRA, GETDEC, GETFOV, GETDATE and GETOBS from its settings, moves
// its centre on MOVE, SETRA, SETDEC and SETFOV, and can misbehave on purpose.
class ChartSimulator {
  public:
    enum class Fault {
        None,
        Stall,       // reads every command and answers none
        CloseAfter,  // answers closeAfter commands, then hangs up on the next
        Garbage,     // answers every command with a line that means nothing
        Refuse,      // answers every command "Failed!"
    };

    struct Settings {
        std::uint16_t port = 0;  // 0: any free port
        double raHours = 5.0 + 3.0 / 60 + 7.0 / 3600;
        double decDegrees = 12.0 + 4.0 / 60 + 9.0 / 3600;
        double fovDegrees = 90.0;
        double latitude = 43.0 + 37.0 / 60;
        double longitudeWest = -(1.0 + 27.0 / 60);
        int altitude = 200;
        std::string observatory = "Toulouse";
        std::string clock;  // "2001-12-22T23:50:58"; empty: the machine's local time
        Fault fault = Fault::None;
        int closeAfter = 0;
        bool statusLines = false;  // a '>' status line before every reply
    };

    static constexpr int kMaxClients = 10;

    // onCommand sees every command line as received, on the server's thread.
    explicit ChartSimulator(Settings settings,
                            std::function<void(const std::string&)> onCommand = {});
    ~ChartSimulator();
    ChartSimulator(const ChartSimulator&) = delete;
    ChartSimulator& operator=(const ChartSimulator&) = delete;

    // Listens and serves on a thread of its own; false when the port is taken.
    bool Start();
    std::uint16_t Port() const { return port_; }
    void Stop();
    // Returns once the server has stopped.
    void Wait();

    std::vector<std::string> Received() const;
    // True once `count` commands have come in, false when the time ran out.
    bool WaitForReceived(std::size_t count, std::chrono::milliseconds timeout) const;

    // "05h03m07s" or "5h3m7.00s", or decimal hours.
    static std::optional<double> ParseHours(const std::string& text);
    // "+12d04m09s", or decimal degrees.
    static std::optional<double> ParseDegrees(const std::string& text);

  private:
    struct Client {
        int fd = -1;
        std::string input;
        int commands = 0;
    };

    void Serve();
    void Accept();
    // False when the client is to be closed.
    bool Receive(Client& client);
    bool Handle(Client& client, const std::string& line);
    // The reply line; nothing for a command that gets none.
    std::optional<std::string> Reply(const std::string& line);
    std::string Clock() const;

    Settings settings_;
    std::function<void(const std::string&)> onCommand_;
    std::uint16_t port_ = 0;
    int listener_ = -1;
    int wake_ = -1;
    int nextId_ = 1;
    std::vector<Client> clients_;
    std::thread thread_;

    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::vector<std::string> received_;
};
