#pragma once

#include <optional>
#include <string>
#include <vector>

// The value below which that fraction of the samples lies (nearest rank);
// 0 for no samples.
double Percentile(std::vector<double> samples, double fraction);

// Prints one published figure on its own line: name, value, unit, target and
// whether it was met (nothing when the figure has no target).
void ReportFigure(const std::string& name, double value, const std::string& unit,
                  const std::string& target, std::optional<bool> met);
