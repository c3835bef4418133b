// Capture and apply of a heavy skin: fifteen JPEG pictures of about 600 KB
// (one for the background, fourteen for the buttons) and a 623 x 364 mask,
// on the offscreen platform. For scale, the same run hex-decodes the
// pictures once.

#include "app/Application.h"
#include "app/SkinBuilder.h"
#include "document/HexText.h"
#include "document/IniStore.h"
#include "editor/Catalogue.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace fabulor;

namespace {

std::string JpegOfAbout600KB(int seed)
{
    QImage image(1100, 800, QImage::Format_RGB32);
    QRandomGenerator random{quint32(seed)};
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random.generate() | 0xFF000000u;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 80);
    return bytes.toStdString();
}

std::string MaskBitmap()
{
    QImage mask(623, 364, QImage::Format_RGB888);
    mask.fill(Qt::black);
    QPainter painter(&mask);
    painter.setBrush(Qt::white);
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(mask.rect().adjusted(10, 10, -10, -10));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    mask.save(&buffer, "BMP");
    return bytes.toStdString();
}

std::string Hex(const std::string& bytes)
{
    std::string out;
    AppendHex(out, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    return out;
}

struct HeavySkin {
    std::vector<std::string> pictureHex;
    IniStore document;

    HeavySkin()
    {
        std::string mask = MaskBitmap();
        document.writeString("Skin", "En", "1");
        document.writeString("Skin", "Maska", Hex(mask));
        for (int i = 0; i < 15; ++i)
            pictureHex.push_back(Hex(JpegOfAbout600KB(i)));
        document.writeString("Skin", "Skin", pictureHex[0]);
        int i = 1;
        for (int index = FirstButtonIndex; index <= LastButtonIndex; ++index)
            document.writeString(SkinComponents()[std::size_t(index)].section, "MP1",
                                 pictureHex[std::size_t(i++)]);
    }
};

HeavySkin& Skin()
{
    static HeavySkin skin;
    return skin;
}

SkinBuilder& Program()
{
    static SkinBuilder builder(*qobject_cast<Application*>(QCoreApplication::instance()));
    return builder;
}

void BM_HexDecodePictures(benchmark::State& state)
{
    std::size_t bytes = 0;
    for (auto _ : state) {
        for (const std::string& hex : Skin().pictureHex) {
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
    *program.document() = Skin().document;
    for (auto _ : state)
        program.settings().LoadStateFromDocument();
}
BENCHMARK(BM_Apply)->Unit(benchmark::kMillisecond);

void BM_Capture(benchmark::State& state)
{
    SkinBuilder& program = Program();
    *program.document() = Skin().document;
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
    std::printf("picture hex: 15 x %zu characters\n", Skin().pictureHex[0].size());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
