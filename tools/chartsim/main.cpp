// mivlo-chartsim: Cartes du Ciel's command server, simulated on 127.0.0.1.
#include <cstdlib>
#include <iostream>
#include <string>

#include "tools/chartsim/ChartSimulator.h"

namespace {

const char* const kUsage =
    "usage: mivlo-chartsim [--port N] [--ra 05h03m07s] [--dec +12d04m09s] [--fov +90d00m00s]\n"
    "                      [--lat +43d37m00s] [--lon -01d27m00s] [--alt 200] [--obs NAME]\n"
    "                      [--clock 2001-12-22T23:50:58] [--status-lines]\n"
    "                      [--stall | --garbage | --refuse | --close-after N]\n"
    "Prints the port it listens on, then every command it receives, one a line.\n"
    "--lon is positive west; --port 0 (the default) takes any free port.\n";

[[noreturn]] void Usage(const std::string& problem) {
    std::cerr << "mivlo-chartsim: " << problem << "\n" << kUsage;
    std::exit(2);
}

int WholeNumber(const std::string& option, const std::string& text, int low, int high) {
    try {
        std::size_t used = 0;
        const int value = std::stoi(text, &used);
        if (used == text.size() && value >= low && value <= high) {
            return value;
        }
    } catch (const std::exception&) {
    }
    Usage(option + " takes a whole number from " + std::to_string(low) + " to " +
          std::to_string(high));
}

double Angle(const std::string& option, const std::string& text, bool hours) {
    const auto value =
        hours ? ChartSimulator::ParseHours(text) : ChartSimulator::ParseDegrees(text);
    if (!value) {
        Usage(option + " does not read as an angle: " + text);
    }
    return *value;
}

ChartSimulator::Settings ParseArguments(int argc, char** argv) {
    ChartSimulator::Settings settings;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::cout << kUsage;
            std::exit(0);
        }
        if (option == "--stall") {
            settings.fault = ChartSimulator::Fault::Stall;
            continue;
        }
        if (option == "--garbage") {
            settings.fault = ChartSimulator::Fault::Garbage;
            continue;
        }
        if (option == "--refuse") {
            settings.fault = ChartSimulator::Fault::Refuse;
            continue;
        }
        if (option == "--status-lines") {
            settings.statusLines = true;
            continue;
        }
        if (i + 1 >= argc) {
            Usage("unknown option or missing value: " + option);
        }
        const std::string value = argv[++i];
        if (option == "--port") {
            settings.port = static_cast<std::uint16_t>(WholeNumber(option, value, 0, 65535));
        } else if (option == "--ra") {
            settings.raHours = Angle(option, value, true);
        } else if (option == "--dec") {
            settings.decDegrees = Angle(option, value, false);
        } else if (option == "--fov") {
            settings.fovDegrees = Angle(option, value, false);
        } else if (option == "--lat") {
            settings.latitude = Angle(option, value, false);
        } else if (option == "--lon") {
            settings.longitudeWest = Angle(option, value, false);
        } else if (option == "--alt") {
            settings.altitude = WholeNumber(option, value, -1000, 10000);
        } else if (option == "--obs") {
            settings.observatory = value;
        } else if (option == "--clock") {
            settings.clock = value;
        } else if (option == "--close-after") {
            settings.fault = ChartSimulator::Fault::CloseAfter;
            settings.closeAfter = WholeNumber(option, value, 0, 1000000);
        } else {
            Usage("unknown option: " + option);
        }
    }
    return settings;
}

// Peer bytes go to a terminal: control bytes must not reach it as such.
std::string Printable(std::string line) {
    for (char& c : line) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) {
            c = '?';
        }
    }
    return line;
}

}  // namespace

int main(int argc, char** argv) {
    ChartSimulator simulator(ParseArguments(argc, argv), [](const std::string& line) {
        std::cout << Printable(line) << std::endl;
    });
    if (!simulator.Start()) {
        std::cerr << "mivlo-chartsim: cannot listen on 127.0.0.1 at that port\n";
        return 1;
    }
    std::cout << simulator.Port() << std::endl;
    simulator.Wait();
    return 0;
}
