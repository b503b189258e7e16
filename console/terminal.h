// The converters' only contact with the console streams: bytes out to
// standard output and standard error, answer lines in from standard input.
// Everything above this interface is testable with FakeTerminal.
#ifndef CONSOLE_TERMINAL_H_
#define CONSOLE_TERMINAL_H_

#include <optional>
#include <string>
#include <string_view>

namespace console {

class Terminal {
 public:
  virtual ~Terminal() = default;

  // Sends the bytes as they are (no translation) and makes them visible at
  // once, so that standard output and standard error interleave in call order.
  virtual void write_out(std::string_view bytes) = 0;
  virtual void write_err(std::string_view bytes) = 0;

  // Reads one line from standard input without its line end (LF or CR LF).
  // A last line that lacks its line end is still a line. Returns nullopt only
  // at end of input, when nothing at all was left to read.
  virtual std::optional<std::string> read_line() = 0;
};

// The real console: the process's stdin, stdout and stderr, byte for byte.
class StdioTerminal : public Terminal {
 public:
  void write_out(std::string_view bytes) override;
  void write_err(std::string_view bytes) override;
  std::optional<std::string> read_line() override;
};

}  // namespace console

#endif  // CONSOLE_TERMINAL_H_
