#include "bench/Figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) return 0;
    const auto rank =
        static_cast<std::size_t>(std::ceil(fraction * static_cast<double>(samples.size())));
    const std::size_t index = std::clamp<std::size_t>(rank, 1, samples.size()) - 1;
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(index),
                     samples.end());
    return samples[index];
}

void ReportFigure(const std::string& name, double value, const std::string& unit,
                  const std::string& target, std::optional<bool> met) {
    const char* verdict = !met.has_value() ? "" : (*met ? "  [met]" : "  [MISSED]");
    std::printf("%-46s %12.4g %-10s target: %s%s\n", name.c_str(), value, unit.c_str(),
                target.c_str(), verdict);
    std::fflush(stdout);
}
