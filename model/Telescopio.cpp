#include "model/Telescopio.h"

#include <cmath>

#include "model/TruncateToInt32.h"

namespace {

// The value the mount has always used for pi, in both directions.
constexpr double kPi = 3.141592;
// Degrees of sky per millisecond, a hair below 1/240000.
constexpr double kGradosPorMilisegundo = 4.166666666666e-6;

double Frac(double x) {
    return x - static_cast<double>(TruncateToInt32(x));
}

}  // namespace

void Telescopio::ProcesarByte(int byte) {
    m_Encoder.TomarByte(static_cast<std::uint8_t>(byte));
    const double x = m_Encoder.m_nMovX;
    const double y = m_Encoder.m_nMovY;
    const double k = 360.0 / static_cast<double>(m_nDientesMontura);
    m_dAR = (x * k) / static_cast<double>(m_nDientesEncoder) + m_dAR;
    m_dDEC = (y * k) / static_cast<double>(m_nDientesEncoder) + m_dDEC;
}

void Telescopio::AvanzarAR(int milisegundos) {
    m_dAR = static_cast<double>(milisegundos) * kGradosPorMilisegundo + m_dAR;
}

std::pair<double, double> Telescopio::AltAzDesdeEcuatoriales(double ar, double dec) const {
    // Six degrees per hour of difference, in 32-bit arithmetic; the product is
    // taken wider so that an absurd difference cannot overflow.
    const auto k = static_cast<std::int32_t>((static_cast<std::int64_t>(m_nDifHoraria) * 360) / 60);
    const double h = ((m_dTiempo - m_dLongitud) - ar) - static_cast<double>(k);
    const double decRad = (dec * kPi) / 180.0;
    const double hRad = (h * (-kPi)) / 180.0;
    const double latRad = ((m_dLatitud - 90.0) * kPi) / 180.0;
    const double c1 = std::cos(hRad) * std::cos(decRad);
    const double s1 = std::sin(latRad) * std::sin(decRad);
    const double s2 = std::cos(latRad) * c1;
    const double azimut =
        (std::atan((std::sin(hRad) * std::cos(decRad)) / (s2 + s1)) * (-180.0)) / kPi;
    const double altura = (std::asin(s2 - s1) * 180.0) / kPi;
    return {altura, azimut};
}

double Telescopio::GradosDesdeHMS(int horas, int minutos, int segundos) {
    constexpr double c240 = 1.0 / 240.0;
    return (static_cast<double>(horas) * 15.0 + static_cast<double>(minutos) * 0.25) +
           static_cast<double>(segundos) * c240;
}

double Telescopio::GradosDesdeGMS(int grados, int minutos, int segundos, std::uint8_t norte) {
    constexpr double c60 = 1.0 / 60.0;
    constexpr double c3600 = 1.0 / 3600.0;
    const double x = (static_cast<double>(minutos) * c60 + static_cast<double>(grados)) +
                     static_cast<double>(segundos) * c3600;
    return norte == 1 ? x : x * (-1.0);
}

PosicionMostrada Telescopio::DescomponerPosicion(double ar, double dec) {
    const double e = Frac(dec / 360.0) * 360.0;
    std::uint8_t norte = 0;
    double f = 0;
    if (e > 0) {
        norte = e < 180.0 ? 1 : 0;
        f = e < 180.0 ? e : e - 180.0;
    } else {
        norte = e > -180.0 ? 0 : 1;
        f = e > -180.0 ? std::fabs(e) : std::fabs(e) - 180.0;
    }

    double g = f;
    double a = ar;
    if (f > 90.0) {  // past the pole: the axis looks at the other side of the sky
        g = 90.0 - Frac(f / 90.0) * 90.0;
        a = ar + 180.0;
    }

    PosicionMostrada p;
    p.DEC.nGrados = TruncateToInt32(g);
    const double mDec = (g - static_cast<double>(p.DEC.nGrados)) * 60.0;
    p.DEC.nMinutos = TruncateToInt32(mDec);
    p.DEC.nSegundos = TruncateToInt32((mDec - static_cast<double>(p.DEC.nMinutos)) * 60.0);
    p.DEC.bNorte = norte;

    double r = Frac(a / 360.0) * 360.0;
    if (r < 0) r = r + 360.0;
    const double t = (r / 360.0) * 24.0;
    p.AR.nHoras = TruncateToInt32(t);
    const double mAr = (t - static_cast<double>(p.AR.nHoras)) * 60.0;
    p.AR.nMinutos = TruncateToInt32(mAr);
    p.AR.nSegundos = TruncateToInt32((mAr - static_cast<double>(p.AR.nMinutos)) * 60.0);
    return p;
}

std::pair<double, double> Telescopio::CalcularCorreccion(
    double arOrigenTeorico, double decOrigenTeorico, double /*arOrigenReal*/,
    double /*decOrigenReal*/, double arDestinoTeorico, double decDestinoTeorico,
    double arDestinoReal, double decDestinoReal) {
    // The real origin enters neither result, and the two brackets differ on
    // purpose: users' procedures rely on these exact figures.
    const double cAR = (arDestinoTeorico - arOrigenTeorico) - (arDestinoReal - arDestinoTeorico);
    const double cDEC =
        (decDestinoTeorico - decOrigenTeorico) - (decDestinoReal - decOrigenTeorico);
    return {cAR, cDEC};
}
