#pragma once
// Comparing pictures pixel by pixel, with a message that says where they
// first differ.
//
// Which of Qt's routines blends, scales or (un)premultiplies a pixel depends
// on the processor (plain C, SSE2, SSE4.1, AVX2, AVX-512), and they do not
// all round alike: a picture that went through one of them may come back a
// step off in a channel. Such pictures are compared with a tolerance of a
// step or two per channel, which still tells a wrong picture, a wrong colour
// or a missing tint from a right one. Pixels that no such routine rounds
// (our own decoders' output, opaque pixels copied at their own size, two
// drawings by the same calls on the same machine) are compared with no
// tolerance at all.
//
// Both pictures are compared premultiplied, the form Qt draws in: taking the
// alpha back out of a faint pixel would magnify a rounding step in its
// colour up to 255 times.

#include <QImage>
#include <QRegion>
#include <QString>

#include <algorithm>
#include <cstdlib>

namespace fabulor::testing {

// Empty when every pixel of actual (within the region, if one is given) is
// within tolerance of expected in each channel, alpha included; otherwise
// the first pixel that is not, with both values.
inline QString PictureDifference(const QImage& actual, const QImage& expected, int tolerance,
                                 const QRegion& within = {})
{
    if (actual.size() != expected.size())
        return QStringLiteral("sizes %1x%2 and %3x%4")
            .arg(actual.width())
            .arg(actual.height())
            .arg(expected.width())
            .arg(expected.height());
    if (actual.isNull()) return {};
    const QImage a = actual.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage e = expected.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const auto near = [tolerance](QRgb p, QRgb q) {
        const int most = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                   std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        return most <= tolerance;
    };
    for (int y = 0; y < a.height(); ++y) {
        const auto* ra = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* re = reinterpret_cast<const QRgb*>(e.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            if (near(ra[x], re[x]) || (!within.isEmpty() && !within.contains(QPoint(x, y)))) continue;
            return QStringLiteral("pixel %1,%2: %3, expected %4 (premultiplied ARGB, %5 step(s) allowed)")
                .arg(x)
                .arg(y)
                .arg(ra[x], 8, 16, QLatin1Char('0'))
                .arg(re[x], 8, 16, QLatin1Char('0'))
                .arg(tolerance);
        }
    }
    return {};
}

} // namespace fabulor::testing

// Fails the test with the first differing pixel unless the pictures match
// within tolerance steps per channel.
#define FSB_COMPARE_PICTURES(actual, expected, tolerance)                                                    \
    do {                                                                                                     \
        const QString fsbDifference =                                                                        \
            fabulor::testing::PictureDifference((actual), (expected), (tolerance));                          \
        QVERIFY2(fsbDifference.isEmpty(), qPrintable(fsbDifference));                                        \
    } while (false)
