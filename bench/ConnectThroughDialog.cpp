#include "bench/ConnectThroughDialog.h"

#include <QAbstractButton>
#include <QAction>

#include "app/CMainFrame.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

namespace {

void Click(QWidget* dialog, int id) {
    if (auto* b = dialog->findChild<QAbstractButton*>(QString::number(id))) b->click();
}

}  // namespace

bool ConnectThroughDialog(CMainFrame& window) {
    auto* command = window.findChild<QAction*>(QString::number(ID_CONFIGURACION_TELESCOPIO));
    if (command == nullptr) return false;
    WhenModalAppears(&window, [](QWidget* dialog) {
        if (dialog == nullptr) return;
        Click(dialog, 1024);  // "Conectar"
        Click(dialog, IDOK);
    });
    command->trigger();
    return window.m_Telescopio.m_bConectado;
}
