// The toolkit's floor: a bare Qt Widgets dialog with a label, a box and a
// button, built with the same compiler, flags and libraries as the program.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    QDialog dialog;
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(QStringLiteral("Hola")));
    layout->addWidget(new QLineEdit);
    layout->addWidget(new QPushButton(QStringLiteral("Aceptar")));
    return dialog.exec();
}
