#include "app/FontWarmUp.h"

#include <fontconfig/fontconfig.h>

#include <clocale>
#include <cstdlib>
#include <system_error>

namespace fabulor {

FontWarmUp::FontWarmUp()
{
    // While the application object is made, Qt sets the C locale and takes a
    // few start-up variables out of the environment; fontconfig reads both
    // (numbers in its configuration, the folders of the user's fonts), and
    // neither may change under a reader. The locale is set here first, so
    // Qt's own call finds it as it wants it. A start that hands Qt a
    // variable to take out (a launcher's start-up notice, a session id)
    // goes without the warm-up.
    std::setlocale(LC_ALL, "");
    for (const char* removedByQt : {"DESKTOP_STARTUP_ID", "DESKTOP_AUTOSTART_ID", "XDG_ACTIVATION_TOKEN"})
        if (std::getenv(removedByQt) != nullptr) return;
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
