#pragma once
// skintool's standard output: a stream buffer over descriptor 1 that checks
// every write. The first write that fails (a full disk, a closed descriptor)
// is kept with its reason and everything after it is refused, so the stream
// goes bad at once and the command's exit code can say the output was lost.

#include <array>
#include <streambuf>
#include <string>

namespace skintool {

class StandardOutput : public std::streambuf {
public:
    explicit StandardOutput(int fd = 1) : m_fd(fd)
    {
        setp(m_buffer.data(), m_buffer.data() + m_buffer.size());
    }
    StandardOutput(const StandardOutput&) = delete;
    StandardOutput& operator=(const StandardOutput&) = delete;

    // Writes what is buffered; true when every byte so far reached the descriptor.
    bool finish();
    // Why the first failed write failed ("No space left on device").
    std::string reason() const;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool writeAll(const char* bytes, std::size_t size);
    bool flushBuffer();

    std::array<char, std::size_t{64} * 1024> m_buffer{};
    int m_fd;
    int m_error = 0; // errno of the first failed write
};

} // namespace skintool
