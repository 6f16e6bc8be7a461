#include <QApplication>
#include <QThreadPool>

#include "app/CMIVLOApp.h"

int main(int argc, char* argv[]) {
    QApplication qt(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MIVLO"));
    // Qt's worker threads (drawing the icon at start) would otherwise wake
    // once to end themselves; a program waiting all night should not wake.
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
    // Command-line arguments have no effect on the program.
    CMIVLOApp theApp;
    theApp.InitInstance();
    return 0;
}
