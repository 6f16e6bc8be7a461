#include "app/CAboutDlg.h"

#include <QVBoxLayout>

#include "app/TelescopeAnimation.h"
#include "res/ResourceIds.h"

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

bool CAboutDlg::OnInitDialog() {
    if (QWidget* area = GetDlgItem(1042); area != nullptr && area->layout() == nullptr) {
        auto* layout = new QVBoxLayout(area);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new TelescopeAnimation(area));
    }
    return CDialog::OnInitDialog();
}
