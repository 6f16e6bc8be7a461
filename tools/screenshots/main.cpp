// Renders every window of the program to PNG files, on Qt's offscreen
// platform unless another is asked for: mivlo-screenshots [output folder].
// Each dialog is opened the way a person opens it, through the main window's
// menu.
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <utility>

#include "app/CMainFrame.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

namespace {

bool Save(QWidget* w, const QDir& carpeta, const QString& nombre) {
    if (w == nullptr) {
        std::printf("%s did not appear\n", qPrintable(nombre));
        return false;
    }
    const QString ruta = carpeta.filePath(nombre + QStringLiteral(".png"));
    const bool ok = w->grab().save(ruta);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(ruta));
    return ok;
}

const std::pair<const char*, int> kDialogos[] = {
    {"about", ID_AYUDA_ACERCADE},
    {"configuration", ID_CONFIGURACION_TELESCOPIO},
    {"alignment", ID_HERRAMIENTAS_CORREGIRALINEACION},
    {"cartes-du-ciel", ID_HERRAMIENTAS_CARTESDUCIEL},
};

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIVLO"));
    const QDir carpeta(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out"));
    if (!QDir().mkpath(carpeta.path())) return 1;

    CMainFrame principal;
    bool ok = true;
    WhenModalAppears(nullptr, [&](QWidget* w) {
        ok = Save(w, carpeta, QStringLiteral("main-window")) && ok;
        for (const auto& [nombre, comando] : kDialogos) {
            auto* accion = principal.findChild<QAction*>(QString::number(comando));
            if (accion == nullptr) {
                ok = Save(nullptr, carpeta, QString::fromUtf8(nombre)) && ok;
                continue;
            }
            WhenModalAppears(w, [&, nombre = nombre](QWidget* d) {
                ok = Save(d, carpeta, QString::fromUtf8(nombre)) && ok;
                if (auto* dialogo = qobject_cast<QDialog*>(d)) dialogo->reject();
            });
            accion->trigger();
        }
        principal.EndDialog(IDCANCEL);
    });
    principal.DoModal();
    return ok ? 0 : 1;
}
