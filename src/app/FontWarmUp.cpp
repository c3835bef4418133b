#include "app/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace fabulor {

FontWarmUp::FontWarmUp()
{
    try {
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // No thread to spare: Qt reads the configuration itself, later.
    }
}

void FontWarmUp::wait()
{
    if (m_thread.joinable()) m_thread.join();
}

FontWarmUp::~FontWarmUp()
{
    wait();
}

} // namespace fabulor
