#pragma once
// A growable byte buffer with a read/write position: the byte stream that
// pictures, document text and archive entries travel through.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace fabulor {

// A zero-filled buffer of `size` bytes, its room asked for as reserveLarge()
// asks: for multi-megabyte buffers that are filled once.
std::vector<std::uint8_t> LargeBuffer(std::size_t size);

class MemoryStream {
public:
    MemoryStream() = default;
    explicit MemoryStream(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}

    std::size_t size() const { return m_bytes.size(); }
    std::size_t position() const { return m_position; }
    // Positions past the end are allowed; a later write fills the gap with zeros.
    void setPosition(std::size_t position) { m_position = position; }
    void rewind() { m_position = 0; }

    // Grows with zeros or truncates; the position is kept within the new size.
    void setSize(std::size_t size);
    // Room for `bytes` in all without moving the buffer again; size and
    // content are unchanged. Lets a writer decide how the buffer grows.
    void reserve(std::size_t bytes) { m_bytes.reserve(bytes); }
    // reserve() for a buffer about to be filled whole (an inflated entry):
    // where the system offers huge pages on request, the new room asks for
    // them, so filling megabytes takes a few page faults, not thousands.
    void reserveLarge(std::size_t bytes);
    std::size_t capacity() const { return m_bytes.capacity(); }
    // Gives back the room beyond the current size.
    void shrinkToFit() { m_bytes.shrink_to_fit(); }
    // Empties the stream and rewinds it.
    void clear();

    // Writes at the position, growing the stream as needed.
    void write(std::span<const std::uint8_t> in);
    void write(std::string_view text);

    std::span<const std::uint8_t> bytes() const { return m_bytes; }
    std::span<std::uint8_t> bytes() { return m_bytes; }
    // The bytes from the position to the end.
    std::span<const std::uint8_t> remaining() const;

private:
    std::vector<std::uint8_t> m_bytes;
    std::size_t m_position = 0;
};

} // namespace fabulor
