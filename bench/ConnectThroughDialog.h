#pragma once

class CMainFrame;

// Connects the encoder link on COM1 the way a user does: "Telescopio..." from
// the menu, "Conectar", then "Aceptar". Call it from inside the main window's
// modal run; it returns once the dialog has closed, true when connected.
bool ConnectThroughDialog(CMainFrame& window);
