#include "console/info_option.h"

#include "console/process.h"

namespace console {
namespace {

std::string with_native_line_ends(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') {
      out += text_line_end();
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace

std::string_view tools_version() { return TOOLS_VERSION; }

std::string help_text(const ProgramInfo& info) {
  return std::string(info.usage) +
         "\n"
         "  --help     show this text and exit\n"
         "  --version  show the version and exit\n"
         "\n"
         "The options count only as the sole argument: a file named --help is\n"
         "given as ./--help. Exit status: 0 converted, 1 error stop, 2 refusal.\n"
         "See " + std::string(info.name) + "(1).\n";
}

std::string version_text(std::string_view name) {
  return std::string(name) + " (sonabrix) " + std::string(tools_version()) + "\n";
}

bool answer_info_option(const std::vector<std::string>& words, const ProgramInfo& info,
                        Terminal& terminal) {
  if (words.size() != 2) return false;
  if (words[1] == "--help") {
    terminal.write_out(with_native_line_ends(help_text(info)));
  } else if (words[1] == "--version") {
    terminal.write_out(with_native_line_ends(version_text(info.name)));
  } else {
    return false;
  }
  return true;
}

}  // namespace console
