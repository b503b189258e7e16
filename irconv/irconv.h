// irconv: an auralisation, a dry recording convolved with a room's response,
// written as a WAVE or FLAC file.
//
//   irconv [OPTIONS] -o OUT DRY RESPONSE [RESPONSE_RIGHT]
//   irconv --help | --version
//
// The run reads the response(s) whole (analysis/read/read_response.h) and
// the dry in blocks, brings the response to the dry's rate and applies the
// filter file's equaliser when asked (listen/response/prepare.h), then works in two
// passes: the convolution into a scratch file of float frames beside OUT,
// measuring peak and loudness (listen/convolution/auralise.h); then the gain chosen
// from them (listen/level/gain.h) and the output written all or nothing
// (listen/files/sound_writer.h). Memory stays the same for a dry of any length.
//
// Exit status: 0 when OUT was written; 1 when a file cannot be opened, read
// or written; 2 for a command line it cannot follow or an input it refuses
// (channels it cannot route, samples that are not finite numbers, an empty
// dry, OUT naming an input, an output that would clip). After any failure
// an existing OUT is as it was.
#ifndef IRCONV_IRCONV_H_
#define IRCONV_IRCONV_H_

#include <functional>
#include <string>
#include <vector>

#include "console/terminal.h"

namespace irconv {

inline constexpr const char* kVersion = "1.0.0";

// What the run knows of its surroundings beyond the words: whether standard
// error is a terminal (the progress bar), and a steady clock in seconds.
struct Environment {
  bool err_is_terminal = false;
  std::function<double()> seconds;
};

// Runs irconv on the command-line words (word 0 being the program) and
// returns the exit status.
int run(const std::vector<std::string>& words, console::Terminal& terminal,
        const Environment& environment = {});

}  // namespace irconv

#endif  // IRCONV_IRCONV_H_
