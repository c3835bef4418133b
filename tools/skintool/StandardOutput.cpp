#include "StandardOutput.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>

namespace skintool {

bool StandardOutput::writeAll(const char* bytes, std::size_t size)
{
    while (size > 0 && m_error == 0) {
        const ssize_t n = ::write(m_fd, bytes, size);
        if (n > 0) {
            bytes += n;
            size -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            // A descriptor someone else made non-blocking: wait until it takes more.
            pollfd wait{m_fd, POLLOUT, 0};
            if (::poll(&wait, 1, -1) < 0 && errno != EINTR) m_error = errno;
        } else {
            // A write that takes nothing without an error would never end either.
            m_error = n < 0 ? errno : EIO;
        }
    }
    return m_error == 0;
}

bool StandardOutput::flushBuffer()
{
    const std::size_t pending = static_cast<std::size_t>(pptr() - pbase());
    setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    // Once a write failed, nothing more is written: what follows would only
    // leave a gap in the middle of the output.
    return writeAll(m_buffer.data(), pending);
}

StandardOutput::int_type StandardOutput::overflow(int_type c)
{
    if (!flushBuffer()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

std::streamsize StandardOutput::xsputn(const char* s, std::streamsize n)
{
    // Nothing to write (an empty entry, say): its pointer may be null,
    // which memcpy must never be given.
    if (m_error != 0 || n <= 0) return 0;
    const std::size_t size = static_cast<std::size_t>(n);
    if (size <= static_cast<std::size_t>(epptr() - pptr())) {
        std::memcpy(pptr(), s, size);
        pbump(static_cast<int>(n));
        return n;
    }
    // Too much for the room left: what is buffered first, then the bytes
    // themselves, or, when few, into the emptied buffer.
    if (!flushBuffer()) return 0;
    if (size < m_buffer.size()) {
        std::memcpy(pptr(), s, size);
        pbump(static_cast<int>(n));
        return n;
    }
    return writeAll(s, size) ? n : 0;
}

int StandardOutput::sync()
{
    return flushBuffer() ? 0 : -1;
}

bool StandardOutput::finish()
{
    return flushBuffer();
}

std::string StandardOutput::reason() const
{
    return std::strerror(m_error);
}

} // namespace skintool
