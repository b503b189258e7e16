#include <string>
#include <vector>

#include "console/process.h"
#include "console/terminal.h"
#include "irinfo/irinfo.h"

int main(int argc, char** argv) {
  console::prepare_process(nullptr);
  std::vector<std::string> words = console::command_line_words(argc, argv);
  console::StdioTerminal terminal;
  return irinfo::run(words, terminal);
}
