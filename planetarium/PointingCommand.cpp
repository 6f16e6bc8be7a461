#include "planetarium/PointingCommand.h"

#include <algorithm>

#include "planetarium/ChartText.h"

namespace {

constexpr std::size_t kCommandCapacity = 55;

}  // namespace

std::string BuildPointingCommand(const PosicionMostrada& p, bool recibir,
                                 const std::string& respuesta) {
    std::string comando = "MOVE RA: ";
    comando += std::to_string(p.AR.nHoras) + "h";
    comando += std::to_string(p.AR.nMinutos) + "m";
    comando += std::to_string(p.AR.nSegundos) + ".00s DEC:";
    comando += p.DEC.bNorte == 1 ? "+" : "-";
    comando += std::to_string(p.DEC.nGrados) + "\xB0";
    comando += std::to_string(p.DEC.nMinutos) + "'";
    comando += std::to_string(p.DEC.nSegundos);
    comando += recibir ? ".0\" FOV:" + LeerCampo(respuesta)
                       : ".0\" FOV:+90\xB0"
                         "00'00\"";
    // The text travels as a C string in a fixed buffer: what a copy into it
    // keeps is the text up to its first zero, and never more than it holds.
    return comando.substr(0, std::min(comando.find('\0'), kCommandCapacity));
}
