#include "console/dialogue.h"

#include <utility>

#include "console/format.h"
#include "console/parse.h"

namespace console {

namespace {

constexpr std::size_t kBlankNameAnswerWidth = 260;

std::string_view statement_text(Statement statement) {
  switch (statement) {
    case Statement::open:
      return "OPEN(";
    case Statement::read:
      return "READ(";
    case Statement::write:
      return "WRITE(";
    case Statement::close:
      return "CLOSE(";
  }
  return "READ(";
}

}  // namespace

int failure_number(Failure failure) {
  switch (failure) {
    case Failure::file_not_found:
      return 6101;
    case Failure::cannot_open:
      return 6102;
    case Failure::cannot_create:
      return 6103;
    case Failure::end_of_file:
      return 6201;
    case Failure::read_failed:
      return 6202;
    case Failure::bad_number:
      return 6203;
    case Failure::write_failed:
      return 6301;
    case Failure::cannot_complete:
      return 6302;
  }
  return 6999;
}

std::string_view failure_message(Failure failure) {
  switch (failure) {
    case Failure::file_not_found:
      return "file not found";
    case Failure::cannot_open:
      return "file cannot be opened";
    case Failure::cannot_create:
      return "file cannot be created";
    case Failure::end_of_file:
      return "end of file";
    case Failure::read_failed:
      return "read error";
    case Failure::bad_number:
      return "invalid number";
    case Failure::write_failed:
      return "write error";
    case Failure::cannot_complete:
      return "file cannot be completed";
  }
  return "unknown failure";
}

std::string error_stop_text(Statement statement, std::string_view name,
                            Failure failure) {
  std::string text = "\r\nrun-time error F";
  text += std::to_string(failure_number(failure));
  text += ": ";
  text += statement_text(statement);
  text += name;
  text += ")\r\n- ";
  text += failure_message(failure);
  text += "\r\n";
  return text;
}

Dialogue::Dialogue(std::vector<std::string> words, Terminal& terminal)
    : words_(std::move(words)), printer_(terminal) {}

void Dialogue::get_word(std::size_t n, std::string& field) const {
  if (n >= words_.size()) return;
  field = fit_field(words_[n], field.size());
}

std::string Dialogue::read_field(std::size_t width) {
  std::optional<std::string> line = printer_.read_line();
  if (!line) error_stop(Statement::read, kStdinName, Failure::end_of_file);
  return fit_field(*line, width);
}

float Dialogue::field_to_fixed(std::string_view field, int decimals) {
  std::optional<float> value = parse_fixed(field, decimals);
  if (!value) error_stop(Statement::read, kFieldName, Failure::bad_number);
  return *value;
}

long long Dialogue::field_to_integer(std::string_view field) {
  std::optional<long long> value = parse_integer(field);
  if (!value) error_stop(Statement::read, kFieldName, Failure::bad_number);
  return *value;
}

float Dialogue::read_free_real(float current) {
  std::optional<std::string> line = printer_.read_line();
  if (!line) error_stop(Statement::read, kStdinName, Failure::end_of_file);
  std::optional<FreeForm<float>> answer = parse_free_real(*line);
  if (!answer) error_stop(Statement::read, kStdinName, Failure::bad_number);
  return answer->empty ? current : answer->value;
}

long long Dialogue::read_free_integer(long long current) {
  std::optional<std::string> line = printer_.read_line();
  if (!line) error_stop(Statement::read, kStdinName, Failure::end_of_file);
  std::optional<FreeForm<long long>> answer = parse_free_integer(*line);
  if (!answer) error_stop(Statement::read, kStdinName, Failure::bad_number);
  return answer->empty ? current : answer->value;
}

std::string Dialogue::file_name(std::string_view field, int unit) {
  std::string name(trim_blanks(field));
  if (!name.empty()) return name;
  if (blank_name_word_ < words_.size()) {
    name = trim_blanks(words_[blank_name_word_++]);
    if (!name.empty()) return name;
  }
  while (name.empty()) {
    printer_.end_line();
    printer_.send("File name missing or blank - please enter file name\r\nUNIT " +
                      std::to_string(unit) + "? ",
                  true);
    std::optional<std::string> line = printer_.read_line();
    if (!line) error_stop(Statement::read, kStdinName, Failure::end_of_file);
    name = trim_blanks(std::string_view(*line).substr(0, kBlankNameAnswerWidth));
  }
  return name;
}

void Dialogue::stop() {
  printer_.end_line();
  printer_.send("Stop - Program terminated.\r\n", false);
  throw RunEnd{kStatusOk};
}

void Dialogue::refuse(std::string_view message) {
  printer_.print(" ERROR - " + std::string(message));
  printer_.end_line();
  printer_.send("Stop - Program terminated.\r\n", false);
  throw RunEnd{kStatusRefused};
}

void Dialogue::error_stop(Statement statement, std::string_view name,
                          Failure failure) {
  printer_.write_err(error_stop_text(statement, name, failure));
  throw RunEnd{kStatusErrorStop};
}

int run_dialogue(Dialogue& dialogue,
                 const std::function<void(Dialogue&)>& body) {
  try {
    body(dialogue);
  } catch (const RunEnd& end) {
    return end.status;
  }
  dialogue.printer().end_line();
  return kStatusOk;
}

}  // namespace console
