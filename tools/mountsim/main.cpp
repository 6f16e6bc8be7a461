// mivlo-mountsim: a serial mouse on the encoders of a moving mount, played on
// a pseudo-terminal so that M.I.V.LO. can open it as COM1.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include "tools/mountsim/MountMotion.h"
#include "tools/mountsim/SerialMousePacket.h"

namespace {

using Clock = std::chrono::steady_clock;

// 1200 baud, 7 data bits, no parity, 1 stop bit: 9 bit times a byte.
constexpr auto kTiempoPorByte = std::chrono::microseconds(7500);
constexpr double kPaquetesPorSegundo = 1200.0 / 9.0 / 3.0;

const char* const kUsage =
    "usage: mivlo-mountsim [--link PATH] [--slew X,Y | --random-walk STEP | --script FILE | "
    "--keys]\n"
    "                      [--seed N] [--seconds S] [--start-after S] [--fast] [--totals]\n"
    "                      [--log FILE]\n"
    "Prints the pseudo-terminal's path, sends \"M\", then serial-mouse packets:\n"
    "  --slew X,Y        a steady slew of X and Y counts per second (default 20,10)\n"
    "  --random-walk N   up to N counts per packet on each axis, at random (--seed)\n"
    "  --script FILE     one \"X Y\" move per line, then ends\n"
    "  --keys            arrow keys move the axes (+/- change the step, q quits)\n"
    "  --link PATH       also make PATH a symbolic link to the device (MIVLO_COM1=PATH)\n"
    "  --fast            as fast as the line takes them, not at 1200 baud\n"
    "  --totals          print the running totals of X and Y counts sent, every second\n"
    "  --log FILE        write every packet sent, \"X Y\" a line, in order\n"
    "  --seconds S       stop after S seconds; --start-after S: wait before the \"M\"\n"
    "On exit it prints \"total X=<x> Y=<y>\".\n";

std::atomic<bool> g_bSalir{false};

void AlSalir(int) {
    g_bSalir = true;
}

[[noreturn]] void Uso(const std::string& problema) {
    std::cerr << "mivlo-mountsim: " << problema << "\n" << kUsage;
    std::exit(2);
}

struct Opciones {
    std::string enlace;
    std::string guion;
    std::string registro;
    bool teclas = false;
    bool rapido = false;
    bool totales = false;
    double segundos = -1;
    double esperaInicial = 0;
    double slewX = 20;
    double slewY = 10;
    int pasoAzar = 0;
    std::uint32_t semilla = 1;
};

double Numero(const std::string& opcion, const char* texto) {
    char* fin = nullptr;
    const double v = std::strtod(texto, &fin);
    if (fin == texto || *fin != '\0' || !(v >= 0 || opcion == "--slew")) {
        Uso(opcion + " takes a number");
    }
    return v;
}

Opciones Leer(int argc, char** argv) {
    Opciones o;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto valor = [&]() -> const char* {
            if (i + 1 >= argc) Uso(a + " needs a value");
            return argv[++i];
        };
        if (a == "--help" || a == "-h") {
            std::cout << kUsage;
            std::exit(0);
        } else if (a == "--link") {
            o.enlace = valor();
        } else if (a == "--slew") {
            const std::string v = valor();
            const auto coma = v.find(',');
            if (coma == std::string::npos) Uso("--slew takes X,Y");
            o.slewX = Numero(a, v.substr(0, coma).c_str());
            o.slewY = Numero(a, v.substr(coma + 1).c_str());
        } else if (a == "--random-walk") {
            o.pasoAzar = static_cast<int>(Numero(a, valor()));
        } else if (a == "--seed") {
            o.semilla = static_cast<std::uint32_t>(Numero(a, valor()));
        } else if (a == "--script") {
            o.guion = valor();
        } else if (a == "--keys") {
            o.teclas = true;
        } else if (a == "--fast") {
            o.rapido = true;
        } else if (a == "--totals") {
            o.totales = true;
        } else if (a == "--log") {
            o.registro = valor();
        } else if (a == "--seconds") {
            o.segundos = Numero(a, valor());
        } else if (a == "--start-after") {
            o.esperaInicial = Numero(a, valor());
        } else {
            Uso("unknown option " + a);
        }
    }
    return o;
}

MountMotion Movimiento(const Opciones& o) {
    if (o.teclas) return MountMotion::Manual();
    if (o.pasoAzar > 0) return MountMotion::RandomWalk(o.pasoAzar, o.semilla);
    if (!o.guion.empty()) {
        std::ifstream f(o.guion);
        if (!f) Uso("cannot read " + o.guion);
        std::stringstream texto;
        texto << f.rdbuf();
        try {
            return MountMotion::Script(texto.str());
        } catch (const std::invalid_argument& e) {
            Uso(o.guion + ": " + e.what());
        }
    }
    return MountMotion::Slew(o.slewX, o.slewY, kPaquetesPorSegundo);
}

// Writes one byte, waiting while the line is full (nobody reads it) until
// told to stop or `hasta` has passed.
bool Escribir(int fd, std::uint8_t byte, Clock::time_point hasta) {
    while (!g_bSalir && Clock::now() < hasta) {
        const ssize_t n = write(fd, &byte, 1);
        if (n == 1) return true;
        if (n < 0 && errno != EINTR && errno != EAGAIN) return false;
        pollfd p{fd, POLLOUT, 0};
        poll(&p, 1, 100);
    }
    return false;
}

// The terminal in raw mode while arrows are read from it.
class TerminalCrudo {
  public:
    TerminalCrudo() {
        if (isatty(STDIN_FILENO) == 0 || tcgetattr(STDIN_FILENO, &m_Antes) != 0) return;
        termios crudo = m_Antes;
        cfmakeraw(&crudo);
        crudo.c_oflag |= OPOST | ONLCR;
        m_bActivo = tcsetattr(STDIN_FILENO, TCSANOW, &crudo) == 0;
    }
    ~TerminalCrudo() {
        if (m_bActivo) tcsetattr(STDIN_FILENO, TCSANOW, &m_Antes);
    }
    TerminalCrudo(const TerminalCrudo&) = delete;
    TerminalCrudo& operator=(const TerminalCrudo&) = delete;

  private:
    termios m_Antes{};
    bool m_bActivo = false;
};

// Reads the keys waiting on standard input, until `hasta`.
void LeerTeclas(MountMotion& m, int& paso, Clock::time_point hasta) {
    const auto espera = std::chrono::duration_cast<std::chrono::milliseconds>(hasta - Clock::now());
    pollfd p{STDIN_FILENO, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(std::max<long long>(0, espera.count()))) <= 0) return;
    char teclas[16];
    const ssize_t n = read(STDIN_FILENO, teclas, sizeof teclas);
    for (ssize_t i = 0; i < n; ++i) {
        const char c = teclas[i];
        if (c == 'q' || c == 3) g_bSalir = true;
        if (c == '+') paso = std::min(paso * 10, 1000);
        if (c == '-') paso = std::max(paso / 10, 1);
        if (i + 2 < n && c == 27 && teclas[i + 1] == '[') {
            switch (teclas[i + 2]) {
                case 'A':
                    m.Add(0, paso);
                    break;
                case 'B':
                    m.Add(0, -paso);
                    break;
                case 'C':
                    m.Add(paso, 0);
                    break;
                case 'D':
                    m.Add(-paso, 0);
                    break;
                default:
                    break;
            }
            i += 2;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Opciones o = Leer(argc, argv);
    MountMotion movimiento = Movimiento(o);

    int maestro = -1;
    int esclavo = -1;
    char ruta[256] = {};
    if (openpty(&maestro, &esclavo, ruta, nullptr, nullptr) != 0) {
        std::perror("mivlo-mountsim: openpty");
        return 1;
    }
    // Raw from the start, so that bytes written before the program opens the
    // port are not taken as terminal input (no echo, no CR translation).
    termios crudo{};
    tcgetattr(esclavo, &crudo);
    cfmakeraw(&crudo);
    tcsetattr(esclavo, TCSANOW, &crudo);
    // Our own descriptor of the slave keeps the line up while the program
    // closes and reopens the port.
    fcntl(maestro, F_SETFL, fcntl(maestro, F_GETFL) | O_NONBLOCK);
    std::printf("%s\n", ruta);
    std::fflush(stdout);
    if (!o.enlace.empty()) {
        unlink(o.enlace.c_str());
        if (symlink(ruta, o.enlace.c_str()) != 0) {
            std::perror("mivlo-mountsim: symlink");
            return 1;
        }
    }
    std::signal(SIGINT, AlSalir);
    std::signal(SIGTERM, AlSalir);
    std::signal(SIGPIPE, SIG_IGN);

    std::ofstream registro;
    if (!o.registro.empty()) registro.open(o.registro);
    std::this_thread::sleep_for(std::chrono::duration<double>(o.esperaInicial));

    const auto inicio = Clock::now();
    const auto fin = o.segundos < 0 ? Clock::time_point::max()
                                    : inicio + std::chrono::duration_cast<Clock::duration>(
                                                   std::chrono::duration<double>(o.segundos));
    auto siguiente = inicio;
    auto proximoTotal = inicio + std::chrono::seconds(1);
    long long totalX = 0;
    long long totalY = 0;
    int paso = 1;
    const TerminalCrudo terminal;
    const auto enviar = [&](std::uint8_t byte) {
        if (!o.rapido) {
            if (o.teclas) {
                LeerTeclas(movimiento, paso, siguiente);
            } else {
                std::this_thread::sleep_until(siguiente);
            }
            siguiente = std::max(siguiente + kTiempoPorByte, Clock::now() - kTiempoPorByte);
        }
        return Escribir(maestro, byte, fin);
    };

    bool ok = enviar('M');  // what a serial mouse says when RTS comes on
    while (ok && !g_bSalir && !movimiento.Finished() && Clock::now() < fin) {
        const auto [dx, dy] = movimiento.Next();
        if (o.teclas && dx == 0 && dy == 0) {
            LeerTeclas(movimiento, paso, Clock::now() + std::chrono::milliseconds(50));
            continue;
        }
        for (const std::uint8_t b : EncodeMousePacket(dx, dy)) ok = ok && enviar(b);
        if (!ok) break;
        totalX += dx;
        totalY += dy;
        if (registro.is_open()) registro << dx << ' ' << dy << '\n';
        if (o.totales && Clock::now() >= proximoTotal) {
            std::printf("X=%lld Y=%lld\n", totalX, totalY);
            std::fflush(stdout);
            proximoTotal += std::chrono::seconds(1);
        }
    }
    registro.close();
    // Let the reader drain the line before it goes away: closing it discards
    // what is still queued. Bytes in flight are not counted yet, hence the
    // line must be seen empty a few times in a row.
    for (int vacio = 0, i = 0; vacio < 5 && i < 500; ++i) {
        int esperando = 0;
        if (ioctl(esclavo, FIONREAD, &esperando) != 0) break;
        vacio = esperando == 0 ? vacio + 1 : 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::printf("total X=%lld Y=%lld\n", totalX, totalY);
    std::fflush(stdout);
    if (!o.enlace.empty()) unlink(o.enlace.c_str());
    close(esclavo);
    close(maestro);
    return 0;
}
