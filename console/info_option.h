// The converters' two informational options. A command line whose only word
// after the program name is exactly "--help" or "--version" is answered with
// a text on standard output, and the program ends with status 0 before any
// dialogue starts. Every other command line is a conversion as before, these
// words included: a file named --help is given as ./--help, or as one of
// several words.
#ifndef CONSOLE_INFO_OPTION_H_
#define CONSOLE_INFO_OPTION_H_

#include <string>
#include <string_view>
#include <vector>

#include "console/terminal.h"

namespace console {

// What a converter says about itself.
struct ProgramInfo {
  std::string_view name;   // "irgen"
  std::string_view usage;  // synopsis and description, each line ended by '\n'
};

// The version of the tool set: the project version of the build ("1.0.0").
std::string_view tools_version();

// The --help text: the program's usage, then what both converters share:
// the two options, the exit statuses and the man page to read.
std::string help_text(const ProgramInfo& info);

// The --version text: "<name> (sonabrix) <version>" and a line end.
std::string version_text(std::string_view name);

// When `words` (word 0 being the program) is a lone --help or --version:
// writes the help or the version text to standard output, with
// text_line_end() for each '\n', and returns true. Otherwise writes nothing
// and returns false.
bool answer_info_option(const std::vector<std::string>& words, const ProgramInfo& info,
                        Terminal& terminal);

}  // namespace console

#endif  // CONSOLE_INFO_OPTION_H_
