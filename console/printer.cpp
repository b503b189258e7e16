#include "console/printer.h"

namespace console {

std::string_view line_start(char control, bool line_pending) {
  switch (control) {
    case '0':
      return line_pending ? std::string_view("\r\n\r\n") : "\r\n";
    case '1':
      return "\r\n\f\r \r";
    case '+':
      return "\r";
    default:
      return line_pending ? std::string_view("\r\n") : "";
  }
}

void Printer::print(std::string_view layout) {
  std::string bytes;
  for (;;) {
    std::size_t end = layout.find('\n');
    std::string_view record = layout.substr(0, end);
    char control = record.empty() ? ' ' : record.front();
    bytes += line_start(control, pending_);
    if (!record.empty()) bytes.append(record.substr(1));
    pending_ = true;
    if (end == std::string_view::npos) break;
    layout.remove_prefix(end + 1);
  }
  terminal_.write_out(bytes);
}

std::optional<std::string> Printer::read_line() {
  pending_ = false;
  return terminal_.read_line();
}

void Printer::end_line() {
  if (pending_) terminal_.write_out("\r\n");
  pending_ = false;
}

void Printer::send(std::string_view bytes, bool line_open) {
  terminal_.write_out(bytes);
  pending_ = line_open;
}

}  // namespace console
