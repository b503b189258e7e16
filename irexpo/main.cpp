#include <string>
#include <vector>

#include "console/process.h"
#include "console/terminal.h"
#include "formats/output_file.h"
#include "irexpo/irexpo.h"

int main(int argc, char** argv) {
  console::prepare_process(formats::remove_pending_temporaries);
  std::vector<std::string> words = console::command_line_words(argc, argv);
  console::StdioTerminal terminal;
  return irexpo::run(words, terminal);
}
