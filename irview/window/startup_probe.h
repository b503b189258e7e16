// A measurement hook for the start-up benchmark (bench/irview_startup.sh)
// and the program's tests: with the environment variable
// IRVIEW_STARTUP_PROBE=1 the program prints, on standard output, the
// wall-clock time in nanoseconds since the epoch
//   "first-paint-ns N"  when the waveform plot is first painted with every
//                       file of the command line read (or refused),
//   "analysed-ns N"     when every analysis is over,
// then "traces N" (the traces shown), "audio ok" or "audio none: <the
// status bar's line>" (whether the Listen panel can play) and ends.
#ifndef IRVIEW_WINDOW_STARTUP_PROBE_H_
#define IRVIEW_WINDOW_STARTUP_PROBE_H_

namespace irview {

class ViewerWindow;

// Does nothing unless IRVIEW_STARTUP_PROBE is set to 1.
void installStartupProbe(ViewerWindow& window);

}  // namespace irview

#endif  // IRVIEW_WINDOW_STARTUP_PROBE_H_
