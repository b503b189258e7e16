// irgen: a 16-bit PCM WAVE file with one or two channels becomes one .TIM
// impulse-response file per channel. The whole run is this one function over
// the command-line words, a terminal and a clock, so tests drive it with
// fakes; main() only supplies the real ones.
#ifndef IRGEN_IRGEN_H_
#define IRGEN_IRGEN_H_

#include <functional>
#include <string>
#include <vector>

#include "console/terminal.h"
#include "formats/tim_file.h"

namespace irgen {

// Supplies the date and time of the trailer stamp; called once per run.
using Clock = std::function<formats::DateTime()>;

// Runs the conversion and returns the exit status; a lone --help or
// --version is answered instead (console/info_option.h), with status 0.
// The status of a conversion: 0 after a conversion,
// 1 after an error stop (a file that cannot be opened, read or written, a
// value that is not a number), 2 after a refusal (a file that is not 16-bit
// PCM with one or two channels, an output that would replace the input, a
// level factor out of range). A failed run leaves no output file behind and
// every existing file as it was.
int run(const std::vector<std::string>& words, console::Terminal& terminal,
        const Clock& clock);

}  // namespace irgen

#endif  // IRGEN_IRGEN_H_
