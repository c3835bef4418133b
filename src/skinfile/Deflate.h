#pragma once
// Raw Deflate streams (no zlib header or trailer) and CRC-32: whole buffers
// through libdeflate, and a streaming decoder through zlib for input whose
// decoded size is not known to be trustworthy.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace fabulor {

// The ZIP CRC-32; pass the previous value to continue over several pieces.
std::uint32_t crc32Of(std::span<const std::uint8_t> bytes, std::uint32_t previous = 0);

// The whole input as one raw Deflate stream.
std::vector<std::uint8_t> deflateRaw(std::span<const std::uint8_t> input);

// Decodes the raw Deflate stream at the start of `input` (which may run on
// past its end) into `output`. True only when it decodes cleanly to exactly
// output.size() bytes; anything else (damaged, cut short, longer or shorter)
// is false and leaves `output` undefined, for inflateRaw to tell which.
bool inflateWhole(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);

// Reads compressed bytes into the buffer it is given; returns 0 at the end of input.
using InflateSource = std::function<std::size_t(std::span<std::uint8_t>)>;
// Receives decoded bytes in order.
using InflateSink = std::function<void(std::span<const std::uint8_t>)>;

// Decodes one raw Deflate stream up to the end of its final block. Never hands
// more than `limit` bytes to the sink: a stream that decodes to more is
// refused with EZipEntryTooLarge as soon as it passes the limit, so a damaged
// or hostile entry cannot fill memory. Throws EZipInflateError on malformed
// or cut-short data. Bytes handed over before a failure stay handed over.
void inflateRaw(const InflateSource& source, std::size_t limit, const InflateSink& sink);

} // namespace fabulor
