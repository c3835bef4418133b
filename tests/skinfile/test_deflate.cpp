// Deflate and CRC-32: what the writer produces is one valid stream that zlib
// decodes to the input, also when it is compressed in pieces and joined; the
// whole-buffer decoder accepts only a stream that fills its output exactly.

#include "skinfile/Deflate.h"

#include <QtTest>

#include <zlib.h>

#include <cstdint>
#include <vector>

using namespace fabulor;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Text as skins hold it: key lines and pictures in hex, whose noise is
// broken by runs, so the compressor finds some matches and ends its blocks
// at all sorts of bit positions.
Bytes skinLikeText(std::size_t size, std::uint32_t seed)
{
    static const char Hex[] = "0123456789ABCDEF";
    Bytes out;
    out.reserve(size);
    while (out.size() < size) {
        seed = seed * 1664525u + 1013904223u;
        if ((seed >> 20) % 500 == 0) {
            for (const char c : std::string_view("\r\n[P]\r\nT=12\r\nMP1="))
                out.push_back(static_cast<std::uint8_t>(c));
            continue;
        }
        const std::uint8_t b = (seed >> 29) == 0 ? 0 : static_cast<std::uint8_t>(seed >> 21);
        out.push_back(static_cast<std::uint8_t>(Hex[b >> 4]));
        out.push_back(static_cast<std::uint8_t>(Hex[b & 15]));
    }
    out.resize(size);
    return out;
}

// zlib, an independent decoder: the whole stream must decode, end with its
// final block exactly at the end of the bytes and give back the input.
bool zlibDecodesTo(const Bytes& stream, const Bytes& expected)
{
    z_stream z{};
    if (inflateInit2(&z, -15) != Z_OK) return false;
    Bytes out(expected.size() + 1);
    z.next_in = const_cast<Bytef*>(stream.data());
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = inflate(&z, Z_FINISH);
    const bool ok = rc == Z_STREAM_END && z.avail_in == 0 && z.total_out == expected.size() &&
                    std::equal(expected.begin(), expected.end(), out.begin());
    inflateEnd(&z);
    return ok;
}

} // namespace

class DeflateTest : public QObject {
    Q_OBJECT

private slots:
    void writtenStreamsDecode_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("seed");
        QTest::addColumn<bool>("random");
        QTest::newRow("one byte") << 1 << 1 << false;
        QTest::newRow("small text") << 5000 << 2 << false;
        QTest::newRow("one piece, many blocks") << 1900 * 1024 << 3 << false;
        // From 2 MiB on the input is compressed in two pieces and joined;
        // several seeds end the first piece at different bit positions.
        for (int seed = 4; seed < 12; ++seed)
            QTest::newRow(qPrintable(QString("two pieces, seed %1").arg(seed)))
                << 2200 * 1024 + seed * 13 << seed << false;
        QTest::newRow("two pieces of noise (stored blocks)") << 3 * 1024 * 1024 << 20 << true;
    }
    void writtenStreamsDecode()
    {
        QFETCH(int, size);
        QFETCH(int, seed);
        QFETCH(bool, random);
        Bytes input = skinLikeText(static_cast<std::size_t>(size), static_cast<std::uint32_t>(seed));
        if (random) {
            std::uint32_t s = static_cast<std::uint32_t>(seed);
            for (auto& b : input) {
                s = s * 1664525u + 1013904223u;
                b = static_cast<std::uint8_t>(s >> 24);
            }
        }
        const Bytes stream = deflateRaw(input);
        QVERIFY(zlibDecodesTo(stream, input));
        // And our own whole-buffer decoder agrees.
        Bytes back(input.size());
        QVERIFY(inflateWhole(stream, back));
        QVERIFY(back == input);
        if (!random && size > 1000) QVERIFY(stream.size() < input.size() * 7 / 10);
    }

    // Only a clean stream of exactly the expected size passes; the caller
    // relies on that to fall back to the bounded streaming decoder.
    void wholeDecoderAcceptsOnlyExactStreams()
    {
        const Bytes input = skinLikeText(100000, 99);
        const Bytes stream = deflateRaw(input);
        Bytes out(input.size());
        QVERIFY(inflateWhole(stream, out));

        Bytes trailing = stream;
        trailing.insert(trailing.end(), {1, 2, 3});
        QVERIFY2(inflateWhole(trailing, out), "bytes after the stream are not part of it");

        Bytes smaller(input.size() - 1);
        QVERIFY2(!inflateWhole(stream, smaller), "decodes to more than the room");
        Bytes larger(input.size() + 1);
        QVERIFY2(!inflateWhole(stream, larger), "decodes to less than expected");

        const Bytes cut(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(stream.size() / 2));
        QVERIFY2(!inflateWhole(cut, out), "cut short");

        Bytes damaged = stream;
        damaged[0] |= 0x06; // block type 3 does not exist
        QVERIFY2(!inflateWhole(damaged, out), "damaged");

        QVERIFY(!inflateWhole({}, out));
    }

    void crcMatchesZlibAndContinues()
    {
        const Bytes input = skinLikeText(70000, 5);
        const auto zlibCrc =
            static_cast<std::uint32_t>(crc32(0, input.data(), static_cast<uInt>(input.size())));
        QCOMPARE(crc32Of(input), zlibCrc);
        const std::span<const std::uint8_t> all(input);
        QCOMPARE(crc32Of(all.subspan(12345), crc32Of(all.first(12345))), zlibCrc);
        QCOMPARE(crc32Of({}), 0u);
    }
};

QTEST_GUILESS_MAIN(DeflateTest)
#include "test_deflate.moc"
