// irinfo: the facts and the room-acoustic parameters of impulse-response
// files (.TIM and audio files), per channel and octave band, as a table for
// people or as CSV or JSON records for scripts (irinfo/records.h); per
// channel its speech transmission index, and with --binaural the
// interaural cross-correlation of each pair (a stereo file, or two mono
// files in a row: left, then right).
//
//   irinfo [--csv | --json] [--bands octave|third] [--jobs N] [--binaural]
//          [--speech-level DB [--noise-levels L125,...,L8k]] FILE...
//   irinfo --help | --version
//
// The files are analysed side by side on up to N threads (by default one
// per core), and reported in the order they are named, the same bytes as
// one at a time; one that cannot be used is reported on standard error,
// "irinfo: <file>: <reason>", in its place, and the others still are. The
// exit status is the highest of the files': 0 when every
// file was analysed, 1 for a file that cannot be opened or read (or ends
// early), 2 for a file refused as no impulse response this program reads.
// A command line it cannot follow is status 2 too.
//
// Output lines end with LF, for people and scripts alike (not the
// converters' CR LF console dialogue); all of it goes through one Output.
#ifndef IRINFO_IRINFO_H_
#define IRINFO_IRINFO_H_

#include <string>
#include <vector>

#include "console/terminal.h"

namespace irinfo {

inline constexpr const char* kVersion = "1.0.0";

// Runs irinfo on the command-line words (word 0 being the program) and
// returns the exit status.
int run(const std::vector<std::string>& words, console::Terminal& terminal);

}  // namespace irinfo

#endif  // IRINFO_IRINFO_H_
