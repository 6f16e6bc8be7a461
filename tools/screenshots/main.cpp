// Renders every window of the program to PNG files, on Qt's offscreen
// platform unless another is asked for: mivlo-screenshots [output folder].
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "app/CAboutDlg.h"
#include "app/CMainFrame.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

namespace {

bool Save(QWidget* w, const QDir& carpeta, const QString& nombre) {
    if (w == nullptr) return false;
    const QString ruta = carpeta.filePath(nombre + QStringLiteral(".png"));
    const bool ok = w->grab().save(ruta);
    std::printf("%s %s\n", ok ? "wrote" : "could not write", qPrintable(ruta));
    return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QDir carpeta(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("out"));
    if (!QDir().mkpath(carpeta.path())) return 1;

    CMainFrame principal;
    bool ok = true;
    const std::vector<std::pair<QString, std::function<void()>>> dialogos{
        {QStringLiteral("about"), [] { CAboutDlg().DoModal(); }},
    };
    WhenModalAppears(nullptr, [&](QWidget* w) {
        ok = Save(w, carpeta, QStringLiteral("main-window")) && ok;
        for (const auto& [nombre, abrir] : dialogos) {
            WhenModalAppears(w, [&, nombre = nombre](QWidget* d) {
                ok = Save(d, carpeta, nombre) && ok;
                if (auto* dialogo = qobject_cast<QDialog*>(d)) dialogo->reject();
            });
            abrir();
        }
        principal.EndDialog(IDCANCEL);
    });
    principal.DoModal();
    return ok ? 0 : 1;
}
