#include "planetarium/ChartText.h"

#include <stdexcept>
#include <string_view>

namespace {

// The reply ends at its first zero byte, as the C text it arrives as does.
std::string_view Visible(const std::string& respuesta) {
    return std::string_view(respuesta).substr(0, respuesta.find('\0'));
}

char CharAt(std::string_view texto, int posicion) {
    const auto n = static_cast<int>(texto.size());
    if (posicion < 0 || posicion > n) {
        throw std::invalid_argument("chart text too short for its fields");
    }
    return posicion == n ? '\0' : texto[static_cast<std::size_t>(posicion)];
}

int PairValue(std::string_view texto, int decenas) {
    return ValorDigito(CharAt(texto, decenas)) * 10 + ValorDigito(CharAt(texto, decenas + 1));
}

int KeyPosition(std::string_view texto, std::string_view clave) {
    const std::size_t p = texto.find(clave);
    return p == std::string_view::npos ? -1 : static_cast<int>(p);
}

HMS ReadHMS(std::string_view texto, int primera) {
    HMS hms;
    hms.nHoras = PairValue(texto, primera);
    hms.nMinutos = PairValue(texto, primera + 3);
    hms.nSegundos = PairValue(texto, primera + 6);
    return hms;
}

// The four-character keys are followed by a sign and then the same layout.
GMS ReadSignedAfterKey(const std::string& respuesta, std::string_view clave) {
    const std::string_view texto = Visible(respuesta);
    const int p = KeyPosition(texto, clave);
    GMS gms;
    gms.bNorte = CharAt(texto, p + 4) == '+' ? 1 : 0;
    gms.nGrados = PairValue(texto, p + 5);
    gms.nMinutos = PairValue(texto, p + 8);
    gms.nSegundos = PairValue(texto, p + 11);
    return gms;
}

}  // namespace

int ValorDigito(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c == '+') {
        return 1;
    }
    if (c == '-') {
        return -1;
    }
    return 0;
}

HMS LeerAR(std::string respuesta) {
    const std::string_view texto = Visible(respuesta);
    return ReadHMS(texto, KeyPosition(texto, "RA:") + 4);
}

GMS LeerDEC(std::string respuesta) {
    return ReadSignedAfterKey(respuesta, "DEC:");
}

GMS LeerLAT(std::string respuesta) {
    return ReadSignedAfterKey(respuesta, "LAT:");
}

GMS LeerLON(std::string respuesta) {
    return ReadSignedAfterKey(respuesta, "LON:");
}

HMS LeerHora(std::string respuesta) {
    return ReadHMS(Visible(respuesta), 12);
}

std::string LeerCampo(std::string respuesta) {
    const std::string_view texto = Visible(respuesta);
    std::string campo;
    for (int posicion = 63; posicion <= 72; ++posicion) {
        campo += CharAt(texto, posicion);
    }
    return campo;
}
