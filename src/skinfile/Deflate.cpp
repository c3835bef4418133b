#include "Deflate.h"

#include "ZipErrors.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <array>
#include <climits>
#include <future>
#include <memory>
#include <new>
#include <optional>

namespace fabulor {

namespace {

// Raw streams: a negative window size tells zlib to write no header or trailer.
constexpr int RawWindowBits = -15;
// libdeflate's level 6 writes about what zlib's level 6 does, in a fraction
// of the time.
constexpr int CompressionLevel = 6;
// Below this zlib writes the stream, as skin files always were: on small
// texts libdeflate gives up sooner (a stored block where zlib still saves a
// few bytes), and their time is small either way.
constexpr std::size_t LibdeflateFrom = std::size_t{1024} * 1024;
constexpr int ZlibLevel = 6;
constexpr int MemoryLevel = 8;
// zlib's encoder limits of a normal skin-file deflate: hash chains 32 links
// deep (a quarter of that once a 16-byte match is in hand) and lazy matching
// up to 24 bytes.
constexpr int GoodLength = 16;
constexpr int MaxLazy = 24;
constexpr int NiceLength = 258;
constexpr int MaxChain = 32;
// Below this a second thread costs more than it saves.
constexpr std::size_t ParallelFrom = std::size_t{2} * 1024 * 1024;
// The first piece also has its final block found again afterwards (a fast
// inflate), so it gets a little less of the input than the second.
constexpr std::size_t FirstSharePercent = 45;

constexpr std::size_t ChunkSize = std::size_t{64} * 1024;

struct Compressor {
    libdeflate_compressor* c = libdeflate_alloc_compressor(CompressionLevel);
    Compressor()
    {
        if (c == nullptr) throw std::bad_alloc();
    }
    ~Compressor() { libdeflate_free_compressor(c); }
    Compressor(const Compressor&) = delete;
    Compressor& operator=(const Compressor&) = delete;
};

struct Decompressor {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    Decompressor()
    {
        if (d == nullptr) throw std::bad_alloc();
    }
    ~Decompressor() { libdeflate_free_decompressor(d); }
    Decompressor(const Decompressor&) = delete;
    Decompressor& operator=(const Decompressor&) = delete;
};

// One complete raw Deflate stream of the whole input.
std::vector<std::uint8_t> compressWhole(std::span<const std::uint8_t> input)
{
    Compressor compressor;
    std::vector<std::uint8_t> out(libdeflate_deflate_compress_bound(compressor.c, input.size()));
    const std::size_t written =
        libdeflate_deflate_compress(compressor.c, input.data(), input.size(), out.data(), out.size());
    if (written == 0) throw std::bad_alloc(); // cannot happen with the bound's room
    out.resize(written);
    return out;
}

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

// Turns a complete raw Deflate stream into one that continues: its final
// block loses the final mark and an empty stored block follows, so the stream
// ends on a byte boundary and another stream's blocks can follow it (what a
// sync flush would give). libdeflate reports no block boundaries, so zlib
// walks the blocks to find where the final one starts and where it ends.
// Empty when the stream does not walk as expected.
std::optional<std::vector<std::uint8_t>> continuable(std::vector<std::uint8_t> stream)
{
    InflateStream s;
    s.z.next_in = stream.data();
    s.z.avail_in = static_cast<uInt>(stream.size());
    std::vector<std::uint8_t> scratch(ChunkSize);
    std::uint64_t finalHeaderBit = 0;
    for (;;) {
        s.z.next_out = scratch.data();
        s.z.avail_out = static_cast<uInt>(scratch.size());
        const int rc = inflate(&s.z, Z_BLOCK);
        const std::uint64_t bitsUnused = static_cast<std::uint64_t>(s.z.data_type & 63);
        if (bitsUnused > 7) return std::nullopt;
        const std::uint64_t bitAt = std::uint64_t{s.z.total_in} * 8 - bitsUnused;
        if (rc != Z_OK && rc != Z_BUF_ERROR) return std::nullopt;
        // Just past the end code of the final block: zlib stops here before
        // it drops the bits up to the byte boundary, so bitAt is exact.
        if ((s.z.data_type & 192) == 192) {
            if (bitAt == 0 || (bitAt + 7) / 8 != stream.size()) return std::nullopt;
            stream[finalHeaderBit / 8] &= static_cast<std::uint8_t>(~(1U << (finalHeaderBit % 8)));
            // The stored block's three header bits (all zero) go right after
            // the final block; zero padding then reaches the byte boundary.
            const unsigned usedInLast = static_cast<unsigned>(bitAt - (stream.size() - 1) * 8);
            stream.back() &= static_cast<std::uint8_t>((1U << usedInLast) - 1);
            if (usedInLast > 5) stream.push_back(0);
            for (const std::uint8_t b : {0x00, 0x00, 0xFF, 0xFF})
                stream.push_back(b);
            return stream;
        }
        // Stopped at a block boundary outside the last block: the next block
        // starts here, and it may be the final one.
        if ((s.z.data_type & 128) != 0 && (s.z.data_type & 64) == 0) finalHeaderBit = bitAt;
        if (rc == Z_BUF_ERROR && s.z.avail_in == 0) return std::nullopt;
    }
}

// The whole input through zlib, one call (small inputs only).
std::vector<std::uint8_t> compressWithZlib(std::span<const std::uint8_t> input)
{
    z_stream z{};
    if (deflateInit2(&z, ZlibLevel, Z_DEFLATED, RawWindowBits, MemoryLevel, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::bad_alloc();
    deflateTune(&z, GoodLength, MaxLazy, NiceLength, MaxChain);
    std::vector<std::uint8_t> out(deflateBound(&z, static_cast<uLong>(input.size())));
    z.next_in = const_cast<Bytef*>(input.data());
    z.avail_in = static_cast<uInt>(input.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&z, Z_FINISH);
    out.resize(out.size() - z.avail_out);
    deflateEnd(&z);
    if (rc != Z_STREAM_END) throw std::bad_alloc(); // the bound always has room
    return out;
}

} // namespace

std::uint32_t crc32Of(std::span<const std::uint8_t> bytes, std::uint32_t previous)
{
    return libdeflate_crc32(previous, bytes.data(), bytes.size());
}

std::vector<std::uint8_t> deflateRaw(std::span<const std::uint8_t> input)
{
    if (input.size() < LibdeflateFrom) return compressWithZlib(input);
    if (input.size() < ParallelFrom) return compressWhole(input);
    // Two independent pieces on two cores, joined into one stream. The second
    // piece starts without the first one's window, which costs a few bytes.
    const std::size_t cut = input.size() * FirstSharePercent / 100;
    auto first = std::async(std::launch::async,
                            [head = input.first(cut)] { return continuable(compressWhole(head)); });
    std::vector<std::uint8_t> second = compressWhole(input.subspan(cut));
    std::optional<std::vector<std::uint8_t>> head = first.get();
    if (!head) return compressWhole(input);
    head->insert(head->end(), second.begin(), second.end());
    return std::move(*head);
}

bool inflateWhole(std::span<const std::uint8_t> input, std::span<std::uint8_t> output)
{
    Decompressor decompressor;
    std::size_t produced = 0;
    const libdeflate_result rc = libdeflate_deflate_decompress_ex(
        decompressor.d, input.data(), input.size(), output.data(), output.size(), nullptr, &produced);
    return rc == LIBDEFLATE_SUCCESS && produced == output.size();
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
