#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "res/ResourceIds.h"

namespace {

QMessageBox::Icon IconFor(unsigned type) {
    switch (type & 0xF0) {
        case MB_ICONSTOP:
            return QMessageBox::Critical;
        case MB_ICONINFORMATION:
            return QMessageBox::Information;
        default:
            return QMessageBox::Warning;
    }
}

void Run(const QString& caption, const QString& text, QMessageBox::Icon icon, QWidget* owner) {
    QMessageBox box(icon, caption, text, QMessageBox::NoButton, owner);
    QPushButton* ok = box.addButton(QStringLiteral("Aceptar"), QMessageBox::AcceptRole);
    ok->setObjectName(QString::number(IDOK));
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.setTextFormat(Qt::PlainText);  // peer and system texts are shown, never interpreted
    box.exec();
}

}  // namespace

int AfxMessageBox(const QString& text, unsigned type) {
    Run(QString::fromLatin1(kApplicationTitle), text, IconFor(type), QApplication::activeWindow());
    return IDOK;
}

void ShowApplicationErrorBox(const QString& text) {
    Run(QStringLiteral("Application Error"), text, QMessageBox::Critical, nullptr);
}

void ReportInvalidArgument() {
    AfxMessageBox(QStringLiteral("Error interno de la aplicación."), MB_OK | MB_ICONSTOP);
}
