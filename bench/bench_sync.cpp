// Capture and apply of a heavy skin (HeavySkin.h: fifteen JPEG pictures of
// about 600 KB and a 623 x 364 mask), on the offscreen platform. For scale,
// the same run hex-decodes the pictures once.

#include "HeavySkin.h"
#include "app/Application.h"
#include "app/SkinBuilder.h"
#include "document/HexText.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace fabulor;
using fabulor::bench::TheHeavySkin;

namespace {

SkinBuilder& Program()
{
    static SkinBuilder builder(*qobject_cast<Application*>(QCoreApplication::instance()));
    return builder;
}

void BM_HexDecodePictures(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& hex : TheHeavySkin().pictureHex) {
            std::vector<std::uint8_t> decoded(hex.size() / 2);
            bytes += DecodeHex(hex, decoded);
            benchmark::DoNotOptimize(decoded.data());
        }
    }
    state.SetBytesProcessed(std::int64_t(bytes));
}
BENCHMARK(BM_HexDecodePictures)->Unit(benchmark::kMillisecond);

void BM_Apply(benchmark::State& state)
{
    SkinBuilder& program = Program();
    *program.document() = TheHeavySkin().document;
    for (auto _ : state)
        program.settings().LoadStateFromDocument();
}
BENCHMARK(BM_Apply)->Unit(benchmark::kMillisecond);

void BM_Capture(benchmark::State& state)
{
    SkinBuilder& program = Program();
    *program.document() = TheHeavySkin().document;
    program.settings().LoadStateFromDocument();
    for (auto _ : state)
        program.settings().SaveStateToDocument();
}
BENCHMARK(BM_Capture)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Application app(argc, argv);
    std::printf("picture hex: 15 x %zu characters\n", TheHeavySkin().pictureHex[0].size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
