// How long a window region takes to build from a mask, next to Qt's own
// QRegion(QBitmap) on the same mask in the same run.
//
// Masks: 623 x 364 (the reader window's default size), 2000 x 2000 and
// 4000 x 4000; each a filled ellipse, a ring of text and random noise. Ours
// reads the mask as the bitmap reader hands it over (24-bit masks as RGB32,
// 1-bit masks as palette pixels); Qt's gets a ready QBitmap, so its figure
// does not include any conversion.

#include "graphics/Bitmap.h"
#include "pictures/Region.h"

#include <QBitmap>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QTransform>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <utility>

using namespace fabulor;

namespace {

enum class Shape { Ellipse, TextRing, Noise };

const char* shapeName(Shape s)
{
    switch (s) {
    case Shape::Ellipse:
        return "ellipse";
    case Shape::TextRing:
        return "textring";
    case Shape::Noise:
        return "noise";
    }
    return "?";
}

// Black (invisible) ground, white shape: the settings window's convention.
QImage drawMask(Shape shape, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::black);
    if (shape == Shape::Noise) {
        QRandomGenerator rng(42);
        for (int y = 0; y < h; ++y) {
            auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < w; ++x)
                row[x] = rng.generate() & 1 ? 0xFFFFFFFFu : 0xFF000000u;
        }
        return img;
    }
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    if (shape == Shape::Ellipse) {
        p.drawEllipse(QRectF(w * 0.05, h * 0.05, w * 0.9, h * 0.9));
        return img;
    }
    // Letters set round a circle, each turned to face outwards.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(10, std::min(w, h) / 12));
    font.setBold(true);
    font.setStyleStrategy(QFont::NoAntialias);
    p.setFont(font);
    p.setPen(Qt::white);
    const QString text = QStringLiteral("FABULOR READER * SKIN BUILDER * FABULOR READER * ");
    const QPointF centre(w / 2.0, h / 2.0);
    const double radius = std::min(w, h) * 0.4;
    for (int i = 0; i < text.size(); ++i) {
        const double angle = 360.0 * i / static_cast<double>(text.size());
        QTransform t;
        t.translate(centre.x(), centre.y());
        t.rotate(angle);
        t.translate(0, -radius);
        p.setTransform(t);
        p.drawText(QPointF(-font.pixelSize() / 3.0, 0), QString(text[i]));
    }
    return img;
}

struct Mask {
    QImage rgb32;   // as a 24-bit mask file decodes
    QImage indexed; // as a 1-bit mask file decodes
    QImage mono;    // the same pixels, one bit each
    QBitmap bitmap; // Qt's input: colour1 (black) where the window shows
    qint64 visible = 0;
};

const Mask& maskFor(Shape shape, int w, int h)
{
    static std::map<std::tuple<int, int, int>, Mask> cache;
    const auto key = std::make_tuple(static_cast<int>(shape), w, h);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
    Mask m;
    m.rgb32 = drawMask(shape, w, h);
    // The same pixel set for Qt: a visible pixel becomes bit 1.
    QImage mono(w, h, QImage::Format_MonoLSB);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mono.fill(0);
    const QRgb keyColour = m.rgb32.pixel(0, 0) & 0xFFFFFF;
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(m.rgb32.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if ((row[x] & 0xFFFFFF) != keyColour) {
                mono.setPixel(x, y, 1);
                ++m.visible;
            }
    }
    m.bitmap = QBitmap::fromImage(mono);
    m.mono = mono;
    m.indexed = mono.convertToFormat(QImage::Format_Indexed8);
    return cache.emplace(key, std::move(m)).first->second;
}

qint64 pixelCount(const QRegion& region)
{
    qint64 n = 0;
    for (const QRect& r : region)
        n += qint64(r.width()) * r.height();
    return n;
}

void setCounters(benchmark::State& state, const QRegion& region, int w, int h)
{
    state.SetItemsProcessed(state.iterations() * qint64(w) * h);
    state.counters["rects"] = static_cast<double>(region.rectCount());
}

enum class Input { Rgb32, Indexed, Mono };

void ours(benchmark::State& state, Shape shape, int w, int h, Input input)
{
    const Mask& m = maskFor(shape, w, h);
    const Bitmap bitmap(input == Input::Rgb32 ? m.rgb32 : input == Input::Indexed ? m.indexed : m.mono);
    QRegion region;
    for (auto _ : state) {
        region = BuildRegionFromMask(bitmap);
        benchmark::DoNotOptimize(region);
    }
    if (pixelCount(region) != m.visible) state.SkipWithError("region does not match the mask");
    setCounters(state, region, w, h);
}

void qts(benchmark::State& state, Shape shape, int w, int h)
{
    const Mask& m = maskFor(shape, w, h);
    QRegion region;
    for (auto _ : state) {
        region = QRegion(m.bitmap);
        benchmark::DoNotOptimize(region);
    }
    if (pixelCount(region) != m.visible) state.SkipWithError("Qt's region does not match the mask");
    setCounters(state, region, w, h);
}

// What Qt needs to get from a decoded 24-bit mask to a region: a 1-bit mask
// of the pixels that differ from the key colour, then the region.
void qtFromImage(benchmark::State& state, Shape shape, int w, int h)
{
    const Mask& m = maskFor(shape, w, h);
    const QRgb key = m.rgb32.pixel(0, 0);
    QRegion region;
    for (auto _ : state) {
        region = QRegion(QBitmap::fromImage(m.rgb32.createMaskFromColor(key, Qt::MaskInColor)));
        benchmark::DoNotOptimize(region);
    }
    if (pixelCount(region) != m.visible) state.SkipWithError("Qt's region does not match the mask");
    setCounters(state, region, w, h);
}

} // namespace

int main(int argc, char** argv)
{
    // QBitmap and fonts need a GUI application; no screen is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const std::pair<int, int> sizes[] = {{623, 364}, {2000, 2000}, {4000, 4000}};
    for (Shape shape : {Shape::Ellipse, Shape::TextRing, Shape::Noise})
        for (auto [w, h] : sizes) {
            const std::string suffix =
                std::string(shapeName(shape)) + "/" + std::to_string(w) + "x" + std::to_string(h);
            benchmark::RegisterBenchmark(("qt_qbitmap/" + suffix).c_str(), qts, shape, w, h)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("ours_mono/" + suffix).c_str(), ours, shape, w, h, Input::Mono)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("ours_indexed/" + suffix).c_str(), ours, shape, w, h,
                                         Input::Indexed)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("qt_from_rgb32/" + suffix).c_str(), qtFromImage, shape, w, h)
                ->Unit(benchmark::kMillisecond);
            benchmark::RegisterBenchmark(("ours_rgb32/" + suffix).c_str(), ours, shape, w, h, Input::Rgb32)
                ->Unit(benchmark::kMillisecond);
        }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
