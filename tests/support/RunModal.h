#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <functional>

#include "platform/CDialog.h"
#include "res/ResourceIds.h"
#include "tools/automation/ModalScript.h"

// Runs a dialog modally, as the program does, calls body from inside its
// modal loop once it is shown, then cancels it; returns what the run returned.
template <typename Dialogo>
int RunModal(Dialogo& dlg, const std::function<void(Dialogo&)>& body) {
    WhenModalAppears(nullptr, [&](QWidget*) {
        body(dlg);
        if (dlg.isVisible()) dlg.EndDialog(IDCANCEL);
    });
    return dlg.DoModal();
}

// Opens a dialog of type Dialogo from `owner` with `open` (a menu command,
// a button) and calls body with it once it is shown; the dialog is cancelled
// afterwards if body left it open.
template <typename Dialogo>
void WithDialog(QWidget* owner, const std::function<void()>& open,
                const std::function<void(Dialogo&)>& body) {
    bool visto = false;
    WhenModalAppears(owner, [&](QWidget* w) {
        auto* d = dynamic_cast<Dialogo*>(w);
        if (d == nullptr) return;
        visto = true;
        body(*d);
        if (d->isVisible()) d->EndDialog(IDCANCEL);
    });
    open();
    if (!visto) ADD_FAILURE() << "the dialog did not open";
}
