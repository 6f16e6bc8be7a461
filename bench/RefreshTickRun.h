#pragma once

#include <QString>

struct RefreshTickCost {
    double medianMicroseconds = 0;
    double p99Microseconds = 0;
    // Processor time of this program per tick; the chart server's is not in it.
    double cpuMicroseconds = 0;
    int failedTicks = 0;
};

// Starts the chart simulator on loopback, switches both directions of the
// planetarium link on, and times `ticks` refresh ticks of the real main window.
bool MeasureRefreshTick(const QString& chartSimulator, int ticks, RefreshTickCost& cost);
