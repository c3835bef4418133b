#pragma once
// The memory one skin's decoded pictures may take together. A picture takes
// its share when its header is read, before a single pixel is decoded, and
// gives it back when the last copy of it goes; a picture whose share no
// longer fits is treated as one that does not decode. So a skin of a few
// kilobytes whose headers claim gigapixels cannot make us hold gigabytes.

#include "graphics/PictureLimits.h"

#include <atomic>
#include <cstdint>

namespace fabulor {

class PictureBudget {
public:
    explicit PictureBudget(std::uint64_t limit = MaxSkinPictureBytes) : m_limit(limit) {}
    PictureBudget(const PictureBudget&) = delete;
    PictureBudget& operator=(const PictureBudget&) = delete;

    // Takes bytes from what is left; false, taking nothing, when they do not fit.
    bool reserve(std::uint64_t bytes);
    void release(std::uint64_t bytes);

    std::uint64_t used() const { return m_used.load(); }
    std::uint64_t limit() const { return m_limit; }

private:
    const std::uint64_t m_limit;
    // Pictures may be released on the thread that decoded them last.
    std::atomic<std::uint64_t> m_used{0};
};

} // namespace fabulor
