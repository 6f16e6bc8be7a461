#include "res/StringTable.h"

#include <array>
#include <utility>

#include "res/ResourceIds.h"

const char* LoadStringResource(int id) {
    static constexpr std::array<std::pair<int, const char*>, 7> kTabla{{
        {IDS_ABOUTBOX, "&Acerca de MIVLO..."},
        {ID_CONFIGURACION_TELESCOPIO,
         "Propiedades de configuración del telescopio, montura y encoder"},
        {ID_HERRAMIENTAS_CORREGIR, "Ayuda a corregir la alineación del eje polar de la montura"},
        {ID_AYUDA_AYUDA, "Muestra el manual de M.I.V.LO."},
        {ID_AYUDA_ACERCADE, "Datos del programa"},
        {AFX_IDP_PARSE_INT, "Escriba un número entero."},
        {AFX_IDP_PARSE_INT_RANGE, "Escriba un número entero entre %1 y %2."},
    }};
    for (const auto& [numero, texto] : kTabla) {
        if (numero == id) return texto;
    }
    return "";
}
