#include "tools/mountsim/MountMotion.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <stdexcept>

namespace {

constexpr long long kMaxPorPaquete = 127;

int Recortar(long long v) {
    return static_cast<int>(std::clamp(v, -kMaxPorPaquete, kMaxPorPaquete));
}

}  // namespace

MountMotion MountMotion::Slew(double countsPerSecondX, double countsPerSecondY,
                              double packetsPerSecond) {
    MountMotion m;
    m.m_Kind = Kind::Slew;
    m.m_dPorPaqueteX = countsPerSecondX / packetsPerSecond;
    m.m_dPorPaqueteY = countsPerSecondY / packetsPerSecond;
    return m;
}

MountMotion MountMotion::RandomWalk(int step, std::uint32_t seed) {
    MountMotion m;
    m.m_Kind = Kind::RandomWalk;
    m.m_nPaso = std::clamp(step, 0, static_cast<int>(kMaxPorPaquete));
    m.m_Azar.seed(seed);
    return m;
}

MountMotion MountMotion::Script(const std::string& text) {
    MountMotion m;
    m.m_bScript = true;
    std::istringstream lineas(text);
    std::string linea;
    for (int numero = 1; std::getline(lineas, linea); ++numero) {
        linea = linea.substr(0, linea.find('#'));
        std::istringstream campos(linea);
        long long x = 0;
        long long y = 0;
        std::string resto;
        if (!(campos >> x)) {
            if (linea.find_first_not_of(" \t\r") == std::string::npos) continue;
            throw std::invalid_argument("line " + std::to_string(numero) + ": " + linea);
        }
        if (!(campos >> y) || (campos >> resto)) {
            throw std::invalid_argument("line " + std::to_string(numero) + ": " + linea);
        }
        m.Add(x, y);
    }
    return m;
}

MountMotion MountMotion::Manual() {
    return {};
}

void MountMotion::Add(long long x, long long y) {
    m_Cola.emplace_back(x, y);
}

std::pair<int, int> MountMotion::Next() {
    switch (m_Kind) {
        case Kind::Slew: {
            m_dDebidoX += m_dPorPaqueteX;
            m_dDebidoY += m_dPorPaqueteY;
            const auto x = Recortar(static_cast<long long>(std::trunc(m_dDebidoX)));
            const auto y = Recortar(static_cast<long long>(std::trunc(m_dDebidoY)));
            m_dDebidoX -= x;
            m_dDebidoY -= y;
            return {x, y};
        }
        case Kind::RandomWalk: {
            std::uniform_int_distribution<int> paso(-m_nPaso, m_nPaso);
            const int x = paso(m_Azar);
            return {x, paso(m_Azar)};
        }
        case Kind::Queue:
            break;
    }
    if (m_Cola.empty()) return {0, 0};
    auto& [x, y] = m_Cola.front();
    const int dx = Recortar(x);
    const int dy = Recortar(y);
    x -= dx;
    y -= dy;
    if (x == 0 && y == 0) m_Cola.pop_front();
    return {dx, dy};
}

bool MountMotion::Finished() const {
    return m_bScript && m_Cola.empty();
}
