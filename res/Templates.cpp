#include <array>

#include "res/DialogTemplate.h"
#include "res/ResourceIds.h"

namespace {

using K = ControlKind;

constexpr std::uint32_t kDisplayNumber = kBorder | kReadOnly | kRightAlign | kDigitsOnly;
constexpr std::uint32_t kDisplayText = kBorder | kReadOnly | kCentre;
constexpr std::uint32_t kEntryNumber = kBorder | kRightAlign | kDigitsOnly | kTabStop;
constexpr std::uint32_t kButton = kTabStop;

ControlTemplate Label(const char* text, int x, int y, int width = 20, int height = 8) {
    return {-1, K::Static, text, x, y, width, height, kNoStyle, {}};
}

ControlTemplate Group(const char* text, int x, int y, int width, int height,
                      std::uint32_t styles = kNoStyle) {
    return {-1, K::GroupBox, text, x, y, width, height, styles, {}};
}

ControlTemplate Edit(int id, int x, int y, int width, int height, std::uint32_t styles) {
    return {id, K::Edit, "", x, y, width, height, styles, {}};
}

ControlTemplate Button(int id, const char* text, int x, int y, int width, int height,
                       std::uint32_t styles = kButton) {
    return {id, K::PushButton, text, x, y, width, height, styles, {}};
}

ControlTemplate Hemisferio(int id, int x, int y, int width, int height) {
    return {id, K::ComboBox, "", x, y, width, height, kTabStop, {"Norte", "Sur"}};
}

// Three number boxes of a row, each followed by its unit label.
void Fila(std::vector<ControlTemplate>& c, const std::array<int, 3>& ids,
          const std::array<int, 3>& xs, const std::array<int, 3>& labelXs, int y, int labelY,
          const std::array<const char*, 3>& units, std::uint32_t styles) {
    for (std::size_t i = 0; i < 3; ++i) {
        c.push_back(Edit(ids[i], xs[i], y, 25, 10, styles));
        c.push_back(Label(units[i], labelXs[i], labelY, 16));
    }
}

constexpr std::array<const char*, 3> kHoras{"h.", "min.", "s."};
constexpr std::array<const char*, 3> kGrados{"deg.", "min.", "s."};

DialogTemplate Principal() {
    DialogTemplate t{
        IDD_MIVLO_DIALOG, "M.I.V.LO.", 202, 186, "MS Sans Serif", 8, kMinimizeBox | kSystemModal,
        IDR_MENU,         {}};
    auto& c = t.controls;
    c.push_back(Group("Coordenadas Ecuatoriales:", 10, 15, 180, 45));
    c.push_back(Group("Coordenadas Alta-Azimutales:", 10, 60, 180, 45));
    c.push_back(Group("Orientación Actual:", 5, 5, 190, 105, kFlat));
    c.push_back(Label("A.R.:", 15, 30, 18));
    c.push_back(Label("DEC.:", 15, 45, 18));
    Fila(c, {1000, 1001, 1002}, {35, 81, 125}, {63, 109, 152}, 30, 31, kHoras, kDisplayNumber);
    Fila(c, {1004, 1005, 1006}, {35, 81, 125}, {63, 109, 152}, 45, 45, kGrados, kDisplayNumber);
    c.push_back(Edit(1007, 160, 45, 25, 10, kDisplayText));
    c.push_back(Label("AZ.:", 15, 75, 18));
    Fila(c, {1008, 1009, 1010}, {35, 81, 125}, {63, 109, 152}, 75, 75, kGrados, kDisplayNumber);
    c.push_back(Edit(1011, 160, 75, 25, 10, kDisplayText));
    c.push_back(Label("ALT:", 15, 90, 18));
    Fila(c, {1012, 1013, 1014}, {35, 81, 125}, {63, 109, 152}, 90, 90, kGrados, kDisplayNumber);
    c.push_back(Edit(1015, 160, 90, 25, 10, kDisplayText));
    c.push_back(Group("GO-TO:", 5, 115, 190, 65, kFlat));
    c.push_back(Label("A.R.:", 10, 130, 18));
    c.push_back(Label("DEC.:", 10, 145, 18));
    Fila(c, {1016, 1017, 1018}, {30, 75, 120}, {58, 103, 147}, 130, 130, kHoras, kEntryNumber);
    Fila(c, {1020, 1021, 1022}, {30, 75, 120}, {57, 103, 147}, 145, 145, kGrados, kEntryNumber);
    c.push_back(Button(1024, "Go To", 30, 160, 55, 15, kButton | kDefaultButton));
    c.push_back(Button(1027, "Reset", 115, 160, 55, 15));
    c.push_back(Hemisferio(1029, 155, 143, 35, 12));
    return t;
}

DialogTemplate AcercaDe() {
    DialogTemplate t{
        IDD_ABOUTBOX, "Acerca de M.I.V.LO.", 252, 56, "MS Sans Serif", 8, kToolWindow, 0, {}};
    auto& c = t.controls;
    c.push_back({-1, K::Static, "M.I.V.LO Versión 1.0.2 (alpha)", 60, 5, 119, 8, kNoPrefix, {}});
    c.push_back(Label("Edición para Linux y Qt, 2026", 60, 40, 130, 8));
    c.push_back(Label("Orvendal", 60, 15, 130, 20));
    c.push_back({1042, K::Animation, "", 5, 10, 46, 35, kNoStyle, {}});
    c.push_back(Button(IDOK, "Aceptar", 192, 7, 53, 15));
    return t;
}

DialogTemplate Configura() {
    DialogTemplate t{IDD_CONFIGURA,
                     "Configuración del telescopio",
                     142,
                     156,
                     "MS Sans Serif",
                     8,
                     kDialogNoStyle,
                     0,
                     {}};
    auto& c = t.controls;
    c.push_back(Button(IDOK, "Aceptar", 15, 135, 50, 14, kButton | kDefaultButton));
    c.push_back(Button(IDCANCEL, "Cancelar", 75, 135, 50, 14));
    c.push_back(Group("Conexión:", 5, 5, 130, 60));
    c.push_back(Label("Puerto de conexión:", 10, 15, 65, 10));
    c.push_back({1028,
                 K::ComboBox,
                 "",
                 75,
                 15,
                 55,
                 12,
                 kTabStop | kVerticalScroll,
                 {"COM1", "COM2", "COM3", "COM4"}});
    c.push_back(Label("Estado:", 10, 30, 25, 10));
    c.push_back(Edit(1000, 75, 30, 55, 10, kBorder | kReadOnly | kCentre));
    c.push_back(Button(1024, "Conectar", 15, 45, 50, 15));
    c.push_back(Button(1025, "Desconectar", 75, 45, 50, 15));
    c.push_back(Group("Precisión:", 5, 65, 130, 40));
    c.push_back(Label("Dientes Encoder:", 10, 75, 60, 10));
    c.push_back(Edit(1001, 75, 75, 55, 10, kBorder | kRightAlign | kAutoHScroll | kTabStop));
    c.push_back(Label("Dientes Montura:", 10, 90, 60, 10));
    c.push_back(Edit(1002, 75, 90, 55, 10, kBorder | kRightAlign | kAutoHScroll | kTabStop));
    c.push_back(Group("Horario UMT:", 5, 105, 130, 25));
    c.push_back(Label("Diferencia horaria", 10, 115, 60, 10));
    // West of Greenwich the difference is negative: the box takes a minus sign.
    c.push_back(
        Edit(1003, 75, 115, 55, 10, kBorder | kRightAlign | kAutoHScroll | kSignedDigits | kTabStop));
    return t;
}

// One block of the alignment dialog, its frame at (x, y).
void Bloque(std::vector<ControlTemplate>& c, const char* titulo, int x, int y, int primerBox,
            int lista, int adquirir, int aceptar) {
    constexpr std::uint32_t kAlign = kBorder | kRightAlign | kAutoHScroll | kDigitsOnly | kTabStop;
    c.push_back(Group(titulo, x, y, 232, 45));
    c.push_back(Label("A.R.:", x + 5, y + 13, 22));
    c.push_back(Label("DEC.:", x + 5, y + 29, 22));
    Fila(c, {primerBox, primerBox + 1, primerBox + 2}, {x + 28, x + 70, x + 112},
         {x + 55, x + 97, x + 139}, y + 12, y + 13, kHoras, kAlign);
    Fila(c, {primerBox + 3, primerBox + 4, primerBox + 5}, {x + 28, x + 70, x + 112},
         {x + 55, x + 97, x + 139}, y + 28, y + 29, kGrados, kAlign);
    c.push_back(Hemisferio(lista, x + 156, y + 27, 36, 40));
    c.push_back(Button(adquirir, "Adquirir", x + 197, y + 9, 32, 14));
    c.push_back(Button(aceptar, "Aceptar", x + 197, y + 26, 32, 14));
}

DialogTemplate Corrige() {
    DialogTemplate t{IDD_CORRIGE, "Corregir alineación", 252, 246, "MS Sans Serif",
                     8,           kToolWindow,           0,   {}};
    auto& c = t.controls;
    c.push_back(Group("Datos teóricos:", 5, 5, 242, 110));
    Bloque(c, "Origen", 10, 15, 1000, 1028, 1032, 1024);
    Bloque(c, "Destino", 10, 64, 1006, 1029, 1033, 1027);
    c.push_back(Group("Datos reales:", 5, 117, 242, 108));
    Bloque(c, "Origen", 10, 127, 1012, 1030, 1034, 1025);
    Bloque(c, "Destino", 10, 176, 1018, 1031, 1035, 1026);
    c.push_back(Button(1036, "Corregir", 60, 228, 50, 14, kButton | kDefaultButton));
    c.push_back(Button(IDCANCEL, "Cancelar", 140, 228, 50, 14));
    return t;
}

DialogTemplate CartesDuCiel() {
    DialogTemplate t{
        IDD_CARTESDUCIEL, "Cartes du Ciel", 147, 91, "MS Sans Serif", 8, kToolWindow, 0, {}};
    auto& c = t.controls;
    c.push_back(Button(IDOK, "Aceptar", 15, 70, 50, 14, kButton | kDefaultButton));
    c.push_back(Button(IDCANCEL, "Cancelar", 80, 70, 50, 14));
    c.push_back(Group("Conexión a Cartes du Ciel:", 5, 5, 135, 60));
    c.push_back(
        {1037, K::CheckBox, "Cartes du Ciel sigue a M.I.V.LO.", 10, 20, 120, 10, kTabStop, {}});
    c.push_back(
        {1038, K::CheckBox, "M.I.V.LO. recibe de Cartes du Ciel", 10, 35, 125, 10, kTabStop, {}});
    c.push_back(
        Edit(1000, 10, 50, 20, 10, kBorder | kRightAlign | kAutoHScroll | kDigitsOnly | kTabStop));
    c.push_back(Label("s.   Intervalo de refresco", 35, 50, 95, 10));
    return t;
}

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
    static const std::array<DialogTemplate, 5> plantillas{Principal(), AcercaDe(), Configura(),
                                                          Corrige(), CartesDuCiel()};
    for (const DialogTemplate& t : plantillas) {
        if (t.id == id) return &t;
    }
    return nullptr;
}
