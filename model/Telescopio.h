#pragma once

#include <cstdint>
#include <utility>

#include "encoder/CSerialPort.h"
#include "encoder/MouseEncoder.h"
#include "model/PosicionMostrada.h"

// The mount: where the optical axis points, the site and clock that the
// horizontal coordinates need, the gearing and the state of the encoder link.
// Angles are doubles in degrees, right ascension included; positions are
// running sums that only the display folds. Everything runs on the UI thread.
class Telescopio {
  public:
    Telescopio() = default;
    virtual ~Telescopio() = default;

    Telescopio(const Telescopio&) = delete;
    Telescopio& operator=(const Telescopio&) = delete;

    // One byte received from the encoder: the decoder takes it and the
    // position moves by the counts it reports, scaled by the teeth.
    void ProcesarByte(int byte);

    // Adds the turning of the sky over that many milliseconds to m_dAR.
    void AvanzarAR(int milisegundos);

    // (altitude, azimuth) in degrees of the given position, from the
    // planetarium's clock, the site and the time difference held here.
    std::pair<double, double> AltAzDesdeEcuatoriales(double ar, double dec) const;

    static double GradosDesdeHMS(int horas, int minutos, int segundos);
    // Only norte == 1 means north; any other value makes the result negative.
    static double GradosDesdeGMS(int grados, int minutos, int segundos, std::uint8_t norte);
    // Takes a right ascension and a declination axis angle (any values) apart
    // into what the windows show, folding the declination over the poles.
    static PosicionMostrada DescomponerPosicion(double ar, double dec);
    // (right ascension correction, declination correction) of the polar
    // alignment, from the theoretical origin, real origin, theoretical
    // destination and real destination.
    static std::pair<double, double> CalcularCorreccion(
        double arOrigenTeorico, double decOrigenTeorico, double arOrigenReal, double decOrigenReal,
        double arDestinoTeorico, double decDestinoTeorico, double arDestinoReal,
        double decDestinoReal);

    CSerialPort m_Puerto;
    MouseEncoder m_Encoder;
    double m_dAR = 0;
    double m_dDEC = 0;
    double m_dTiempo = 0;
    std::int32_t m_nDifHoraria = 1;
    double m_dLatitud = 0;
    double m_dLongitud = 0;
    std::int32_t m_nDientesMontura = 144;
    std::int32_t m_nDientesEncoder = 55;
    bool m_bConectado = false;
    std::int32_t m_nPuertoActual = 0;
    std::int32_t m_nTimerEncoder = 0;
};
