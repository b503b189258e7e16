// What a converter does to its process before anything else, so that the
// files it opens cannot take the place of its console streams.
//
// prepare_process():
// - opens /dev/null on any of descriptors 0, 1 and 2 that is closed, so no
//   file opened later takes the place of a console stream (console lines
//   written into an output file, prompt answers read from an input file);
// - ignores SIGPIPE: a console that went away must not end the run half way.
// Where the system lacks these descriptors and signals, only what exists is
// done.
#ifndef CONSOLE_PROCESS_H_
#define CONSOLE_PROCESS_H_

namespace console {

void prepare_process();

}  // namespace console

#endif  // CONSOLE_PROCESS_H_
