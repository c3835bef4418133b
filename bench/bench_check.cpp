// How long the skin check takes on a heavy skin (about 20 MB of skin text:
// fifteen JPEG pictures of about 600 KB and a shaping mask): cold, with every
// picture decoded, and again with a warm picture cache, as the editor checks
// again after an edit that left the pictures alone.

#include "HeavySkin.h"

#include "check/SkinCheck.h"
#include "check/SystemFonts.h"
#include "document/DocumentText.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <cstdlib>

using namespace fabulor;

namespace {

void SkinSize(benchmark::State& state)
{
    state.counters["skin_MB"] = double(DocumentText(bench::TheHeavySkin().document).size()) / 1e6;
}

void BM_CheckCold(benchmark::State& state)
{
    const IniStore& skin = bench::TheHeavySkin().document;
    const CheckEnvironment environment = SystemCheckEnvironment();
    std::size_t findings = 0;
    for (auto _ : state) {
        CheckPictureCache cache;
        findings = CheckSkin(skin, environment, &cache).size();
        benchmark::DoNotOptimize(findings);
    }
    state.counters["findings"] = double(findings);
    SkinSize(state);
}
BENCHMARK(BM_CheckCold)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_CheckWarm(benchmark::State& state)
{
    const IniStore& skin = bench::TheHeavySkin().document;
    const CheckEnvironment environment = SystemCheckEnvironment();
    CheckPictureCache cache;
    CheckSkin(skin, environment, &cache);
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckSkin(skin, environment, &cache));
    SkinSize(state);
}
BENCHMARK(BM_CheckWarm)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace

int main(int argc, char** argv)
{
    // Fonts are measured as skintool measures them: offscreen, no display.
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
