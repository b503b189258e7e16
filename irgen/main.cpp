#include <string>
#include <vector>

#include "console/process.h"
#include "console/terminal.h"
#include "formats/output_file.h"
#include "irgen/date_stamp.h"
#include "irgen/irgen.h"

int main(int argc, char** argv) {
  console::prepare_process(formats::remove_pending_temporaries);
  std::vector<std::string> words = console::command_line_words(argc, argv);
  console::StdioTerminal terminal;
  return irgen::run(words, terminal, irgen::stamp_now);
}
