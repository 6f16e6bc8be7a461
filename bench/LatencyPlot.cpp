#include "bench/LatencyPlot.h"

#include <QImage>
#include <QPainter>
#include <algorithm>

#include "bench/Figures.h"

namespace {

constexpr int kWidth = 900;
constexpr int kPanelHeight = 320;
constexpr int kBins = 60;
constexpr int kMargin = 60;

void DrawMarker(QPainter& p, const QRect& plot, double value, double top, const QColor& colour,
                const QString& label, int row) {
    const int x = plot.left() + static_cast<int>(value / top * plot.width());
    p.setPen(QPen(colour, 2));
    p.drawLine(x, plot.top(), x, plot.bottom());
    p.drawText(x + 4, plot.top() + 14 + row * 16, label);
}

void DrawPanel(QPainter& p, const QRect& area, const QString& title,
               const std::vector<double>& samples) {
    const QRect plot = area.adjusted(kMargin, 30, -20, -40);
    const double median = Percentile(samples, 0.5);
    const double p99 = Percentile(samples, 0.99);
    // The axis ends a little past the 99.9th percentile; the rare slower ones
    // fall in the last bin.
    const double top = std::max(Percentile(samples, 0.999) * 1.1, 1.0);
    std::vector<int> bins(kBins, 0);
    for (const double s : samples) {
        const int bin = std::min(kBins - 1, static_cast<int>(s / top * kBins));
        ++bins[static_cast<std::size_t>(std::max(bin, 0))];
    }
    const int highest = std::max(1, *std::max_element(bins.begin(), bins.end()));
    p.setPen(Qt::black);
    p.drawText(area.left() + kMargin, area.top() + 20, title);
    p.drawRect(plot);
    const double binWidth = static_cast<double>(plot.width()) / kBins;
    for (int i = 0; i < kBins; ++i) {
        const int h = bins[static_cast<std::size_t>(i)] * plot.height() / highest;
        p.fillRect(QRectF(plot.left() + i * binWidth, plot.bottom() - h, binWidth - 1, h),
                   QColor(90, 120, 170));
    }
    for (int t = 0; t <= 5; ++t) {
        const int x = plot.left() + t * plot.width() / 5;
        p.setPen(Qt::black);
        p.drawLine(x, plot.bottom(), x, plot.bottom() + 5);
        p.drawText(x - 30, plot.bottom() + 20, 60, 16, Qt::AlignHCenter,
                   QString::number(top * t / 5, 'f', 0));
    }
    p.drawText(plot.left(), plot.bottom() + 36,
               QStringLiteral("microseconds from write to boxes updated"));
    p.drawText(area.left() + 4, plot.top() + 14, QString::number(highest));
    DrawMarker(p, plot, median, top, QColor(0, 140, 0),
               QStringLiteral("median %1 µs").arg(median, 0, 'f', 1), 0);
    DrawMarker(p, plot, p99, top, QColor(200, 0, 0),
               QStringLiteral("99th percentile %1 µs").arg(p99, 0, 'f', 1), 1);
}

}  // namespace

bool SaveLatencyPlot(const std::vector<std::pair<QString, std::vector<double>>>& panels,
                     const QString& path) {
    QImage image(kWidth, kPanelHeight * static_cast<int>(panels.size()), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (std::size_t i = 0; i < panels.size(); ++i) {
        const QRect area(0, static_cast<int>(i) * kPanelHeight, kWidth, kPanelHeight);
        DrawPanel(painter, area, panels[i].first, panels[i].second);
    }
    painter.end();
    return image.save(path, "PNG");
}
