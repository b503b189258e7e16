// The one printer of the converters. Every byte they send to standard output
// goes through it, because the line end of each line is deferred: it is sent
// only when the next line starts, when the run stops or when it ends.
//
// A layout is the text of one print operation. Each '\n' in it is a line
// break; every line (record) of the layout begins with its control
// character, which is not shown but decides how the line starts:
//   ' ' (and any other)  CR LF if a line is pending, else nothing
//   '0'                  CR LF CR LF if a line is pending, else CR LF
//   '1'                  CR LF FF CR ' ' CR whatever the state (new page)
//   '+'                  CR (overwrite the previous line)
// An empty record counts as a blank-control line with no text, so a line
// break at the end of a layout adds one empty line.
#ifndef CONSOLE_PRINTER_H_
#define CONSOLE_PRINTER_H_

#include <optional>
#include <string>
#include <string_view>

#include "console/terminal.h"

namespace console {

// The bytes that start a line with `control` when a line is (or is not)
// pending. Pure; the printer sends exactly these.
std::string_view line_start(char control, bool line_pending);

class Printer {
 public:
  explicit Printer(Terminal& terminal) : terminal_(terminal) {}

  // Prints every record of `layout`; afterwards a line is pending.
  void print(std::string_view layout);

  // Same bytes as print: the cursor stays behind the last record so that the
  // answer is typed on the prompt line.
  void prompt(std::string_view layout) { print(layout); }

  // Reads one answer line (see Terminal::read_line). The user's Enter has
  // ended the line on the screen, so afterwards the output is at the start
  // of a line, also at end of input.
  std::optional<std::string> read_line();

  // Sends CR LF if a line is pending. Used by the stop and at program end.
  void end_line();

  // Sends bytes that carry no control character (the messages of the layer
  // itself); `line_open` says whether they leave a line pending.
  void send(std::string_view bytes, bool line_open);

  // Sends bytes to standard error; the stdout line state is not touched.
  void write_err(std::string_view bytes) { terminal_.write_err(bytes); }

  bool line_pending() const { return pending_; }

 private:
  Terminal& terminal_;
  bool pending_ = false;
};

}  // namespace console

#endif  // CONSOLE_PRINTER_H_
