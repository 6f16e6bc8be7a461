// mivlo-icon FOLDER NAME: writes the program's icon into an icon theme folder
// (FOLDER/16x16/apps/NAME.png … FOLDER/256x256/apps/NAME.png), so that the
// desktop's icon and the window's are one drawing.
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>
#include <cstdio>

#include "res/AppIcon.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: mivlo-icon FOLDER NAME\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    const QIcon icon = LoadAppIcon();
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QDir apps(QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size));
        const QString path = apps.filePath(name + QStringLiteral(".png"));
        if (!QDir().mkpath(apps.path()) || !icon.pixmap(size, size).save(path)) {
            std::fprintf(stderr, "mivlo-icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
