#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "console/process.h"
#include "console/terminal.h"
#include "formats/output_file.h"
#include "irconv/irconv.h"

int main(int argc, char** argv) {
  // The scratch file has no name; the output's temporary is all a signal
  // can leave behind.
  console::prepare_process(formats::remove_pending_temporaries);
  std::vector<std::string> words = console::command_line_words(argc, argv);
  console::StdioTerminal terminal;
  irconv::Environment environment;
  environment.err_is_terminal = isatty(STDERR_FILENO) == 1;
  environment.seconds = [] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
  };
  return irconv::run(words, terminal, environment);
}
