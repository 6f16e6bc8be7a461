#include "app/CMIVLOApp.h"

#include "app/CMainFrame.h"

bool CMIVLOApp::InitInstance() {
    CMainFrame dlg;
    dlg.DoModal();
    return false;
}
