#pragma once

#include <functional>

class QApplication;

namespace fabulor {

// For the start-up benchmark: with FSB_STARTUP_PROBE=<launch time in
// nanoseconds of CLOCK_REALTIME> in the environment, the program writes
// "startup_ms=<milliseconds>" to standard error once it has shown and painted
// the given number of top-level windows, and ends at once (no teardown), so
// the time and the peak memory are those of start-up alone. Without the
// variable it does nothing. Before that line it writes "mapped_ms=..." for
// the moment the last of those windows was first exposed (mapped), before
// its first paint. With settled given, it then waits until settled() is true
// (the pictures loaded behind the windows) and writes "settled_ms=..."
// before it ends, so the peak memory is that of the whole load.
void ArmStartupProbe(QApplication& app, int windows, std::function<bool()> settled = {});

} // namespace fabulor
