// irexpo: one or two .TIM impulse responses become one 16-bit PCM WAVE file,
// both channels scaled together so that the largest absolute sample becomes
// 32767. The whole run is this one function over the command-line words and
// a terminal, so tests drive it with a fake terminal; main() supplies the
// real one.
#ifndef IREXPO_IREXPO_H_
#define IREXPO_IREXPO_H_

#include <string>
#include <vector>

#include "console/terminal.h"

namespace irexpo {

// Runs the conversion and returns the exit status; a lone --help or
// --version is answered instead (console/info_option.h), with status 0.
// The status of a conversion: 0 after a conversion,
// 1 after an error stop (a file that cannot be opened, read or written),
// 2 after a refusal (a sample interval that gives no sampling rate, a point
// count below 0 or above 65536, a sample that is not finite, an output that
// would replace an input). A failed run leaves no output file behind and an
// existing file of the output name as it was.
int run(const std::vector<std::string>& words, console::Terminal& terminal);

}  // namespace irexpo

#endif  // IREXPO_IREXPO_H_
