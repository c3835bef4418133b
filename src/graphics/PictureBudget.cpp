#include "graphics/PictureBudget.h"

namespace fabulor {

bool PictureBudget::reserve(std::uint64_t bytes)
{
    std::uint64_t used = m_used.load();
    do {
        if (bytes > m_limit || used > m_limit - bytes) return false;
    } while (!m_used.compare_exchange_weak(used, used + bytes));
    return true;
}

void PictureBudget::release(std::uint64_t bytes)
{
    m_used.fetch_sub(bytes);
}

} // namespace fabulor
