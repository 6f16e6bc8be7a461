#include <QApplication>

#include "app/CMIVLOApp.h"

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIVLO"));
    // Command-line arguments have no effect on the program.
    CMIVLOApp theApp;
    theApp.InitInstance();
    return 0;
}
