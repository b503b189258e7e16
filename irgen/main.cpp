#include <csignal>
#include <string>
#include <vector>

#include "console/terminal.h"
#include "irgen/date_stamp.h"
#include "irgen/irgen.h"

int main(int argc, char** argv) {
  // A console that has gone away (a closed pipe) must not kill the run half
  // way: the conversion goes on and its files are completed or cleaned up.
  std::signal(SIGPIPE, SIG_IGN);
  std::vector<std::string> words(argv, argv + argc);
  console::StdioTerminal terminal;
  return irgen::run(words, terminal, irgen::stamp_now);
}
