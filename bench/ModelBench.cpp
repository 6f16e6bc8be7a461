#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>

#include "bench/Figures.h"
#include "model/Telescopio.h"

namespace {

// Two packets that move both axes one count forward and back, so the position
// stays in range however long the run.
constexpr std::array<std::uint8_t, 6> kStream{0x40, 0x01, 0x01, 0x4F, 0x3F, 0x3F};

// What the main window does with each received byte before it writes the boxes.
void ModelPathPerByte(benchmark::State& state) {
    Telescopio t;
    std::size_t i = 0;
    for (auto _ : state) {
        t.ProcesarByte(kStream[i]);
        i = i + 1 == kStream.size() ? 0 : i + 1;
        const PosicionMostrada p = Telescopio::DescomponerPosicion(t.m_dAR, t.m_dDEC);
        const auto [altura, azimut] = t.AltAzDesdeEcuatoriales(t.m_dAR, t.m_dDEC);
        const PosicionMostrada a = Telescopio::DescomponerPosicion(0, altura);
        const PosicionMostrada z = Telescopio::DescomponerPosicion(0, azimut);
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(z);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(ModelPathPerByte);

void ProcesarByteAlone(benchmark::State& state) {
    Telescopio t;
    std::size_t i = 0;
    for (auto _ : state) {
        t.ProcesarByte(kStream[i]);
        i = i + 1 == kStream.size() ? 0 : i + 1;
        benchmark::DoNotOptimize(t.m_dAR);
    }
}
BENCHMARK(ProcesarByteAlone);

void DescomponerPosicionAlone(benchmark::State& state) {
    double ar = 37.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ar);
        benchmark::DoNotOptimize(Telescopio::DescomponerPosicion(ar, -12.25));
    }
}
BENCHMARK(DescomponerPosicionAlone);

void AltAzDesdeEcuatorialesAlone(benchmark::State& state) {
    const Telescopio t;
    double ar = 37.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ar);
        benchmark::DoNotOptimize(t.AltAzDesdeEcuatoriales(ar, -12.25));
    }
}
BENCHMARK(AltAzDesdeEcuatorialesAlone);

// The whole path per byte is a slice of the end-to-end budget: 50 us a byte
// at 20,000 bytes per second.
constexpr double kBudgetNanoseconds = 50000;

// Prints each benchmark as a published figure: processor time per iteration.
class FigureReporter : public benchmark::BenchmarkReporter {
  public:
    bool ReportContext(const Context& /*context*/) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const double ns = run.GetAdjustedCPUTime();
            if (name == "ModelPathPerByte") {
                ReportFigure(name, ns, "ns/byte", "< 50000 (a byte's share at 20,000 B/s)",
                             ns < kBudgetNanoseconds);
            } else {
                ReportFigure(name, ns, "ns", "none set", std::nullopt);
            }
        }
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    benchmark::Initialize(&argc, argv);
    FigureReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
