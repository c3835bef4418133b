#include "Deflate.h"

#include "ZipErrors.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <new>

namespace fabulor {

namespace {

// Raw streams: a negative window size tells zlib to write no header or trailer.
constexpr int RawWindowBits = -15;
constexpr int NormalLevel = 6;
constexpr int MemoryLevel = 8;
// The encoder limits of a normal skin-file deflate: hash chains 32 links deep
// (a quarter of that once a 16-byte match is in hand) and lazy matching up to
// 24 bytes. zlib already drops 3-byte matches more than 4 KiB back.
constexpr int GoodLength = 16;
constexpr int MaxLazy = 24;
constexpr int NiceLength = 258;
constexpr int MaxChain = 32;

constexpr std::size_t ChunkSize = std::size_t{64} * 1024;

// zlib counts in uInt; feed it pieces that always fit.
constexpr std::size_t MaxPiece = UINT_MAX / 2;

Bytef* asBytef(const std::uint8_t* p)
{
    return const_cast<Bytef*>(p);
}

struct DeflateStream {
    z_stream z{};
    DeflateStream()
    {
        if (deflateInit2(&z, NormalLevel, Z_DEFLATED, RawWindowBits, MemoryLevel, Z_DEFAULT_STRATEGY) != Z_OK)
            throw std::bad_alloc();
        deflateTune(&z, GoodLength, MaxLazy, NiceLength, MaxChain);
    }
    ~DeflateStream() { deflateEnd(&z); }
    DeflateStream(const DeflateStream&) = delete;
    DeflateStream& operator=(const DeflateStream&) = delete;
};

struct InflateStream {
    z_stream z{};
    InflateStream()
    {
        if (inflateInit2(&z, RawWindowBits) != Z_OK) throw std::bad_alloc();
    }
    ~InflateStream() { inflateEnd(&z); }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;
};

} // namespace

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes, std::uint32_t previous)
{
    uLong crc = previous;
    while (!bytes.empty()) {
        const std::size_t piece = std::min(bytes.size(), MaxPiece);
        crc = crc32(crc, bytes.data(), static_cast<uInt>(piece));
        bytes = bytes.subspan(piece);
    }
    return static_cast<std::uint32_t>(crc);
}

std::vector<std::uint8_t> deflateRaw(std::span<const std::uint8_t> input)
{
    DeflateStream s;
    std::vector<std::uint8_t> out(deflateBound(&s.z, static_cast<uLong>(input.size())));
    std::size_t written = 0;
    for (;;) {
        const std::size_t inPiece = std::min(input.size(), MaxPiece);
        s.z.next_in = asBytef(input.data());
        s.z.avail_in = static_cast<uInt>(inPiece);
        if (out.size() - written < ChunkSize) out.resize(out.size() + ChunkSize);
        const std::size_t outRoom = std::min(out.size() - written, MaxPiece);
        s.z.next_out = out.data() + written;
        s.z.avail_out = static_cast<uInt>(outRoom);
        const bool last = inPiece == input.size();
        const int rc = deflate(&s.z, last ? Z_FINISH : Z_NO_FLUSH);
        written += outRoom - s.z.avail_out;
        input = input.subspan(inPiece - s.z.avail_in);
        if (rc == Z_STREAM_END) break;
        if (rc != Z_OK && rc != Z_BUF_ERROR) throw std::bad_alloc();
    }
    out.resize(written);
    return out;
}

void inflateRaw(const InflateSource& source, std::size_t limit, const InflateSink& sink)
{
    InflateStream s;
    std::vector<std::uint8_t> in(ChunkSize);
    std::vector<std::uint8_t> out(ChunkSize);
    bool inputEnded = false;
    std::size_t total = 0;
    for (;;) {
        if (s.z.avail_in == 0 && !inputEnded) {
            const std::size_t n = source(in);
            inputEnded = n == 0;
            s.z.next_in = in.data();
            s.z.avail_in = static_cast<uInt>(n);
        }
        // Room for one byte past the limit, so a stream that decodes to more shows itself.
        const std::size_t room = std::min<std::size_t>(out.size(), limit - total + 1);
        s.z.next_out = out.data();
        s.z.avail_out = static_cast<uInt>(room);
        const uInt inBefore = s.z.avail_in;
        const int rc = inflate(&s.z, Z_NO_FLUSH);
        const std::size_t produced = room - s.z.avail_out;
        if (produced > limit - total) throw EZipEntryTooLarge::extracting();
        if (produced > 0) sink(std::span<const std::uint8_t>(out).first(produced));
        total += produced;
        switch (rc) {
        case Z_STREAM_END:
            return;
        case Z_OK:
            break;
        case Z_BUF_ERROR:
            if (inputEnded && s.z.avail_in == 0)
                throw EZipInflateError("Cannot extract file - compressed data cut short");
            break;
        case Z_MEM_ERROR:
            throw std::bad_alloc();
        default: // Z_DATA_ERROR, Z_NEED_DICT, Z_STREAM_ERROR
            throw EZipInflateError("Cannot extract file - compressed data damaged");
        }
        if (inputEnded && s.z.avail_in == 0 && produced == 0 && inBefore == 0)
            throw EZipInflateError("Cannot extract file - compressed data cut short");
    }
}

} // namespace fabulor
