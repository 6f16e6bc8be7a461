#include "res/MenuTemplate.h"
#include "res/ResourceIds.h"

const MenuTemplate* FindMenuTemplate(int id) {
    static const MenuTemplate principal{
        IDR_MENU,
        {
            {"&Configuración", {{"&Telescopio...", ID_CONFIGURACION_TELESCOPIO}}},
            {"&Herramientas",
             {{"&Corregir alineación...", ID_HERRAMIENTAS_CORREGIRALINEACION},
              {"Cartes du Ciel...", ID_HERRAMIENTAS_CARTESDUCIEL}}},
            {"Ayuda", {{"Ayuda", ID_AYUDA_AYUDA}, {"", 0}, {"Acerca de...", ID_AYUDA_ACERCADE}}},
        }};
    return id == principal.id ? &principal : nullptr;
}
