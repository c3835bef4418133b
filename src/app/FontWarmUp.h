#pragma once
// Reading fontconfig's configuration and font caches costs the editor
// several milliseconds at start, all of it before the first window can be
// laid out. A FontWarmUp does it on another core while Qt connects to the
// display; Qt's first use of fonts then finds it done. fontconfig may be set
// up from any thread: should Qt get there first after all, both build a
// configuration and one is thrown away.

#include <thread>

namespace fabulor {

class FontWarmUp {
public:
    // Made before the application object, which it overlaps.
    FontWarmUp();
    // Waits until the warm-up is over (the destructor does too).
    void wait();
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

private:
    std::thread m_thread;
};

} // namespace fabulor
