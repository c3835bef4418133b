#include "MemoryStream.h"

#include <algorithm>
#include <cstring>

#include <sys/mman.h>

namespace fabulor {

namespace {

// Asks for huge pages over the whole 2 MiB pages within fresh, untouched room
// (a hint: where the system gives them only on request, a large buffer's
// page faults otherwise cost more than filling it). Small room is left alone.
void adviseHugePages([[maybe_unused]] const std::uint8_t* start, [[maybe_unused]] std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    constexpr std::uintptr_t Huge = std::uintptr_t{2} * 1024 * 1024;
    const auto at = reinterpret_cast<std::uintptr_t>(start);
    const std::uintptr_t from = (at + Huge - 1) & ~(Huge - 1);
    const std::uintptr_t to = (at + bytes) & ~(Huge - 1);
    // NOLINTNEXTLINE(performance-no-int-to-ptr): madvise takes the page address back as a pointer
    if (to > from) madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

} // namespace

std::vector<std::uint8_t> LargeBuffer(std::size_t size)
{
    std::vector<std::uint8_t> buffer;
    buffer.reserve(size);
    adviseHugePages(buffer.data(), size);
    buffer.resize(size);
    return buffer;
}

void MemoryStream::reserveLarge(std::size_t bytes)
{
    if (bytes <= m_bytes.capacity()) return;
    m_bytes.reserve(bytes);
    adviseHugePages(m_bytes.data() + m_bytes.size(), bytes - m_bytes.size());
}

void MemoryStream::setSize(std::size_t size)
{
    m_bytes.resize(size);
    m_position = std::min(m_position, size);
}

void MemoryStream::clear()
{
    m_bytes.clear();
    m_position = 0;
}

void MemoryStream::write(std::span<const std::uint8_t> in)
{
    if (in.empty()) return;
    const std::size_t end = m_position + in.size();
    if (end > m_bytes.size()) m_bytes.resize(end);
    std::memcpy(m_bytes.data() + m_position, in.data(), in.size());
    m_position = end;
}

void MemoryStream::write(std::string_view text)
{
    write(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::span<const std::uint8_t> MemoryStream::remaining() const
{
    if (m_position >= m_bytes.size()) return {};
    return std::span(m_bytes).subspan(m_position);
}

} // namespace fabulor
