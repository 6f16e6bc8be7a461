#pragma once

#include <QString>
#include <QStringList>
#include <chrono>

// The program at work with no telescope and no planetarium: the real main
// window, a simulated mount on COM1 and a simulated Cartes du Ciel, driven
// through the real menus and dialogs as a person would.
struct DemoSettings {
    QString outputFolder = QStringLiteral("out");
    std::chrono::milliseconds slew{4000};
    // The mount simulator's program; empty: the one built with the demo.
    QString mountSimulator;
};

// The star the demo syncs on before the mount moves, as typed into GO-TO.
struct DemoStar {
    const char* name;
    int hours, minutes, seconds;
    int degrees, arcMinutes, arcSeconds;
    bool north;
};
inline constexpr DemoStar kDemoStar{"Betelgeuse", 5, 55, 10, 7, 24, 25, true};
// The slew in encoder counts: about two hours of right ascension and ten
// degrees of declination with the default gearing (7920 counts a turn).
inline constexpr int kDemoSlewX = 661;
inline constexpr int kDemoSlewY = 221;

struct DemoReport {
    bool ok = false;
    QString problem;  // what went wrong when not ok
    QString comPort;
    QString chartServer;
    // The texts of boxes 1000 to 1015 (equatorial, then horizontal).
    QStringList shownBefore;
    QStringList shownAfter;
    // The counts the mount simulator says it sent.
    int sentX = 0;
    int sentY = 0;
    QStringList messages;  // the message boxes shown, in order
    QStringList moveCommands;
    QString beforePicture;
    QString afterPicture;
};

// Runs the demo inside the running QApplication; prints its steps to stdout.
DemoReport RunDemo(const DemoSettings& settings);

// "07h55m31s +17°27'08\" Norte", from the texts of boxes 1000 to 1015.
QString EquatorialText(const QStringList& shown);
QString HorizontalText(const QStringList& shown);
