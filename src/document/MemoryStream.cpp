#include "MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace fabulor {

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
