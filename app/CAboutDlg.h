#pragma once

#include "platform/CDialog.h"

// The About box: the program's name and version and a small animation.
class CAboutDlg : public CDialog {
    Q_OBJECT

  public:
    CAboutDlg();

  protected:
    bool OnInitDialog() override;
};
