#include "console/terminal.h"

#include <cstdio>

namespace console {

void StdioTerminal::write_out(std::string_view bytes) {
  std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  std::fflush(stdout);
}

void StdioTerminal::write_err(std::string_view bytes) {
  // Standard output first, so the two streams keep their order on a console.
  std::fflush(stdout);
  std::fwrite(bytes.data(), 1, bytes.size(), stderr);
  std::fflush(stderr);
}

std::optional<std::string> StdioTerminal::read_line() {
  std::string line;
  int c = std::getc(stdin);
  if (c == EOF) return std::nullopt;
  while (c != EOF && c != '\n') {
    line.push_back(static_cast<char>(c));
    c = std::getc(stdin);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return line;
}

}  // namespace console
