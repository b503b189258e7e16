// A measurement hook for the start-up benchmark: with the environment
// variable SONABRIX_STARTUP_PROBE=1 the program prints the wall-clock time of
// the main window's first paint, in nanoseconds since the epoch, on standard
// output and ends.
#ifndef FRONTEND_STARTUP_PROBE_H_
#define FRONTEND_STARTUP_PROBE_H_

class QWidget;

namespace frontend {

// Does nothing unless SONABRIX_STARTUP_PROBE is set to 1.
void installStartupProbe(QWidget& window);

}  // namespace frontend

#endif  // FRONTEND_STARTUP_PROBE_H_
