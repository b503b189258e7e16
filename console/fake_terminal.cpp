#include "console/fake_terminal.h"

#include <utility>

namespace console {

FakeTerminal::FakeTerminal(std::vector<std::string> answers)
    : answers_(std::move(answers)) {}

void FakeTerminal::write_out(std::string_view bytes) { out_.append(bytes); }

void FakeTerminal::write_err(std::string_view bytes) { err_.append(bytes); }

std::optional<std::string> FakeTerminal::read_line() {
  if (next_ >= answers_.size()) return std::nullopt;
  return answers_[next_++];
}

}  // namespace console
