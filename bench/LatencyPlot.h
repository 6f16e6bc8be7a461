#pragma once

#include <QString>
#include <utility>
#include <vector>

// Draws each set of latencies (microseconds) as a histogram in a panel of its
// own, with the median and the 99th percentile marked, and saves the PNG.
bool SaveLatencyPlot(const std::vector<std::pair<QString, std::vector<double>>>& panels,
                     const QString& path);
