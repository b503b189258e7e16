// A measurement hook for the start-up benchmark and the program's own tests:
// with the environment variable SONABRIX_STARTUP_PROBE=1 the program prints
// the wall-clock time of the main window's first paint, in nanoseconds since
// the epoch, as "first-paint-ns N", then the mode it started in as
// "start-mode NAME", on standard output and ends.
#ifndef FRONTEND_APP_STARTUP_PROBE_H_
#define FRONTEND_APP_STARTUP_PROBE_H_

namespace frontend {

class MainWindow;

// Does nothing unless SONABRIX_STARTUP_PROBE is set to 1.
void installStartupProbe(MainWindow& window);

}  // namespace frontend

#endif  // FRONTEND_APP_STARTUP_PROBE_H_
