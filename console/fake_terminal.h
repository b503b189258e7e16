// An in-memory terminal for tests: records what is written to each stream
// and hands out scripted answer lines, then end of input.
#ifndef CONSOLE_FAKE_TERMINAL_H_
#define CONSOLE_FAKE_TERMINAL_H_

#include <cstddef>
#include <string>
#include <vector>

#include "console/terminal.h"

namespace console {

class FakeTerminal : public Terminal {
 public:
  FakeTerminal() = default;
  explicit FakeTerminal(std::vector<std::string> answers);

  void write_out(std::string_view bytes) override;
  void write_err(std::string_view bytes) override;
  // The next scripted answer; nullopt (end of input) once all are used.
  std::optional<std::string> read_line() override;

  const std::string& out() const { return out_; }
  const std::string& err() const { return err_; }
  // How many scripted answers have been read so far.
  std::size_t answers_read() const { return next_; }

 private:
  std::vector<std::string> answers_;
  std::size_t next_ = 0;
  std::string out_;
  std::string err_;
};

}  // namespace console

#endif  // CONSOLE_FAKE_TERMINAL_H_
