#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QString>
#include <vector>

#include "platform/CDialog.h"
#include "res/DialogTemplate.h"
#include "res/MenuTemplate.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

namespace {

struct Control {
    int id;
    ControlKind kind;
    const char* text;
};

using K = ControlKind;

// The numbered controls of each window, in template order.
struct Esperado {
    int id;
    const char* caption;
    int width, height;
    std::vector<Control> controls;
};

std::vector<Control> Edits(std::initializer_list<int> ids) {
    std::vector<Control> v;
    for (const int id : ids) v.push_back({id, K::Edit, ""});
    return v;
}

std::vector<Control> Join(std::initializer_list<std::vector<Control>> partes) {
    std::vector<Control> v;
    for (const auto& p : partes) v.insert(v.end(), p.begin(), p.end());
    return v;
}

std::vector<Control> BloqueCorrige(int primero, int lista, int adquirir, int aceptar) {
    return Join({Edits({primero, primero + 1, primero + 2, primero + 3, primero + 4, primero + 5}),
                 {{lista, K::ComboBox, ""},
                  {adquirir, K::PushButton, "Adquirir"},
                  {aceptar, K::PushButton, "Aceptar"}}});
}

std::vector<Esperado> Tabla() {
    return {
        {IDD_MIVLO_DIALOG, "M.I.V.LO.", 202, 186,
         Join({Edits({1000, 1001, 1002, 1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011,
                      1012, 1013, 1014, 1015, 1016, 1017, 1018, 1020, 1021, 1022}),
               {{1024, K::PushButton, "Go To"},
                {1027, K::PushButton, "Reset"},
                {1029, K::ComboBox, ""}}})},
        {IDD_ABOUTBOX,
         "Acerca de M.I.V.LO.",
         252,
         56,
         {{1042, K::Animation, ""}, {IDOK, K::PushButton, "Aceptar"}}},
        {IDD_CONFIGURA,
         "Configuración del telescopio",
         142,
         156,
         {{IDOK, K::PushButton, "Aceptar"},
          {IDCANCEL, K::PushButton, "Cancelar"},
          {1028, K::ComboBox, ""},
          {1000, K::Edit, ""},
          {1024, K::PushButton, "Conectar"},
          {1025, K::PushButton, "Desconectar"},
          {1001, K::Edit, ""},
          {1002, K::Edit, ""},
          {1003, K::Edit, ""}}},
        {IDD_CORRIGE, "Corregir alineación", 252, 246,
         Join({BloqueCorrige(1000, 1028, 1032, 1024),
               BloqueCorrige(1006, 1029, 1033, 1027),
               BloqueCorrige(1012, 1030, 1034, 1025),
               BloqueCorrige(1018, 1031, 1035, 1026),
               {{1036, K::PushButton, "Corregir"}, {IDCANCEL, K::PushButton, "Cancelar"}}})},
        {IDD_CARTESDUCIEL,
         "Cartes du Ciel",
         147,
         91,
         {{IDOK, K::PushButton, "Aceptar"},
          {IDCANCEL, K::PushButton, "Cancelar"},
          {1037, K::CheckBox, "Cartes du Ciel sigue a M.I.V.LO."},
          {1038, K::CheckBox, "M.I.V.LO. recibe de Cartes du Ciel"},
          {1000, K::Edit, ""}}},
    };
}

TEST(Templates, HoldEveryNumberedControlInOrder) {
    for (const Esperado& e : Tabla()) {
        const DialogTemplate* t = FindDialogTemplate(e.id);
        ASSERT_NE(t, nullptr) << e.id;
        EXPECT_STREQ(t->caption, e.caption);
        EXPECT_EQ(t->width, e.width) << e.id;
        EXPECT_EQ(t->height, e.height) << e.id;
        std::vector<const ControlTemplate*> numerados;
        for (const ControlTemplate& c : t->controls) {
            if (c.id >= 0) numerados.push_back(&c);
        }
        ASSERT_EQ(numerados.size(), e.controls.size()) << e.caption;
        for (std::size_t i = 0; i < e.controls.size(); ++i) {
            EXPECT_EQ(numerados[i]->id, e.controls[i].id) << e.caption << " #" << i;
            EXPECT_EQ(numerados[i]->kind, e.controls[i].kind) << e.controls[i].id;
            EXPECT_STREQ(numerados[i]->text, e.controls[i].text) << e.controls[i].id;
        }
    }
}

TEST(Templates, LabelsOfTheMainWindow) {
    std::vector<std::string> textos;
    for (const ControlTemplate& c : FindDialogTemplate(IDD_MIVLO_DIALOG)->controls) {
        if (c.id < 0) textos.emplace_back(c.text);
    }
    const std::vector<std::string> esperado{"Coordenadas Ecuatoriales:",
                                            "Coordenadas Alta-Azimutales:",
                                            "Orientación Actual:",
                                            "A.R.:",
                                            "DEC.:",
                                            "h.",
                                            "min.",
                                            "s.",
                                            "deg.",
                                            "min.",
                                            "s.",
                                            "AZ.:",
                                            "deg.",
                                            "min.",
                                            "s.",
                                            "ALT:",
                                            "deg.",
                                            "min.",
                                            "s.",
                                            "GO-TO:",
                                            "A.R.:",
                                            "DEC.:",
                                            "h.",
                                            "min.",
                                            "s.",
                                            "deg.",
                                            "min.",
                                            "s."};
    EXPECT_EQ(textos, esperado);
}

TEST(Templates, ListsStartWithTheirEntriesAndNoSelection) {
    CDialog corrige(IDD_CORRIGE);
    for (const int id : {1028, 1029, 1030, 1031}) {
        auto* lista = qobject_cast<QComboBox*>(corrige.GetDlgItem(id));
        ASSERT_NE(lista, nullptr);
        EXPECT_EQ(lista->count(), 2);
        EXPECT_EQ(lista->itemText(0), QStringLiteral("Norte"));
        EXPECT_EQ(lista->itemText(1), QStringLiteral("Sur"));
        EXPECT_EQ(corrige.GetCurSel(id), -1);
    }
    CDialog configura(IDD_CONFIGURA);
    auto* puertos = qobject_cast<QComboBox*>(configura.GetDlgItem(1028));
    ASSERT_NE(puertos, nullptr);
    EXPECT_EQ(puertos->count(), 4);
    EXPECT_EQ(puertos->itemText(3), QStringLiteral("COM4"));
}

TEST(Templates, MenuAndStrings) {
    const MenuTemplate* menu = FindMenuTemplate(IDR_MENU);
    ASSERT_NE(menu, nullptr);
    std::vector<std::pair<std::string, int>> items;
    for (const PopupTemplate& p : menu->popups) {
        for (const MenuItemTemplate& i : p.items)
            items.emplace_back(std::string(p.text) + "/" + i.text, i.command);
    }
    const std::vector<std::pair<std::string, int>> esperado{
        {"&Configuración/&Telescopio...", 32771},
        {"&Herramientas/&Corregir alineación...", 32773},
        {"&Herramientas/Cartes du Ciel...", 32776},
        {"Ayuda/Ayuda", 32774},
        {"Ayuda/", 0},
        {"Ayuda/Acerca de...", 32775}};
    EXPECT_EQ(items, esperado);
    EXPECT_STREQ(LoadStringResource(101), "&Acerca de MIVLO...");
    EXPECT_STREQ(LoadStringResource(32772),
                 "Ayuda a corregir la alineación del eje polar de la montura");
    EXPECT_STREQ(LoadStringResource(1), "");

    // Every menu command carries its id as the action's name.
    CDialog principal(IDD_MIVLO_DIALOG);
    for (const int id : {32771, 32773, 32774, 32775, 32776}) {
        EXPECT_NE(principal.findChild<QAction*>(QString::number(id)), nullptr) << id;
    }
}

}  // namespace
