// What a converter does to its process before anything else, so that files it
// opens and signals it receives cannot corrupt or strand its output.
//
// prepare_process():
// - opens /dev/null on any of descriptors 0, 1 and 2 that is closed, so no
//   file opened later takes the place of a console stream (console lines
//   written into an output file, prompt answers read from an input file);
// - ignores SIGPIPE (a console that went away must not end the run half way)
//   and SIGXFSZ (a file size limit makes the write fail, which the run reports
//   as a write error, instead of killing the process);
// - on SIGINT, SIGTERM, SIGHUP and SIGQUIT calls `cleanup`, then dies of the
//   signal as it would have without the handler. A signal that was ignored
//   when the process started (nohup, background jobs) stays ignored.
//
// `cleanup` runs inside a signal handler: it must be async-signal-safe (no
// allocation, no stdio, no locks). It may be null.
// Where the system lacks these descriptors and signals, only what exists is
// done.
#ifndef CONSOLE_PROCESS_H_
#define CONSOLE_PROCESS_H_

namespace console {

using SignalCleanup = void (*)() noexcept;

void prepare_process(SignalCleanup cleanup);

}  // namespace console

#endif  // CONSOLE_PROCESS_H_
