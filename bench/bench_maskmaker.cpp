// How long making a mask from a picture takes: the reader window's size and
// a large skin picture as JPEG pictures decode (RGB888), the mask maker's
// largest shown picture (RGB32, what every click and tolerance step
// recomputes), and writing the large mask's file.

#include "graphics/MaskMaker.h"

#include <QGuiApplication>
#include <QPainter>

#include <benchmark/benchmark.h>

using namespace fabulor;

namespace {

// A gradient panel with rounded corners on a flat green ground.
QImage Picture(int w, int h, QImage::Format format)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(qRgb(48, 192, 48));
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 0, h);
    gradient.setColorAt(0, QColor(59, 74, 101));
    gradient.setColorAt(1, QColor(154, 106, 68));
    painter.setBrush(gradient);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRect(8, 8, w - 16, h - 16), w / 10.0, h / 10.0);
    painter.end();
    return image.convertToFormat(format);
}

void MakeMaskOf(benchmark::State& state, int w, int h, QImage::Format format)
{
    const QImage picture = Picture(w, h, format);
    const MaskKey key{qRgb(48, 192, 48), 30};
    for (auto _ : state)
        benchmark::DoNotOptimize(MakeMask(picture, key));
    state.SetItemsProcessed(state.iterations() * std::int64_t(w) * h);
}

void EncodeLarge(benchmark::State& state)
{
    const MadeMask made = MakeMask(Picture(4000, 3000, QImage::Format_RGB888), {qRgb(48, 192, 48), 30});
    for (auto _ : state)
        benchmark::DoNotOptimize(EncodeMaskBmp(made.image));
}

} // namespace

BENCHMARK_CAPTURE(MakeMaskOf, jpeg_623x364, 623, 364, QImage::Format_RGB888)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MakeMaskOf, shown_800x560, 800, 560, QImage::Format_RGB32)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MakeMaskOf, jpeg_4000x3000, 4000, 3000, QImage::Format_RGB888)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeLarge)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
