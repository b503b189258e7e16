// The converters' side of the console: command-line words, answers read into
// fixed-width fields, numbers from fields and answers, file names with the
// blank-name rule, and the three ways a run ends early (stop, refusal, error
// stop). Output goes through the one Printer.
//
// A run ends early by throwing RunEnd out of stop(), refuse() or
// error_stop(); run_dialogue() catches it, ends the pending line where the
// ending asks for it, and returns the exit status for main().
#ifndef CONSOLE_DIALOGUE_H_
#define CONSOLE_DIALOGUE_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "console/printer.h"
#include "console/terminal.h"

namespace console {

// Thrown to end the run with `status`; caught only by run_dialogue().
struct RunEnd {
  int status;
};

// Exit statuses.
inline constexpr int kStatusOk = 0;
inline constexpr int kStatusErrorStop = 1;
inline constexpr int kStatusRefused = 2;

// The statement an error stop names: "OPEN(", "READ(", "WRITE(", "CLOSE(".
enum class Statement { open, read, write, close };

// One failure kind per error number and message text.
enum class Failure {
  file_not_found,   // 6101 an input file does not exist
  cannot_open,      // 6102 an input file exists but cannot be opened
  cannot_create,    // 6103 an output file cannot be created
  end_of_file,      // 6201 a read ran past the end of a file or of input
  read_failed,      // 6202 the system reported a read error
  bad_number,       // 6203 a field or answer is not a number of the form
  write_failed,     // 6301 the system reported a write error
  cannot_complete,  // 6302 a finished output could not be put in place
};

int failure_number(Failure failure);
std::string_view failure_message(Failure failure);

// The bytes of an error stop on standard error:
//   CR LF "run-time error F" nnnn ": " STATEMENT "(" name ")" CR LF
//   "- " message CR LF
std::string error_stop_text(Statement statement, std::string_view name,
                            Failure failure);

// Names used in error stops for reads that are not from a file.
inline constexpr std::string_view kStdinName = "stdin";
inline constexpr std::string_view kFieldName = "internal";

class Dialogue {
 public:
  // `words` are the command-line words, word 0 being the program.
  Dialogue(std::vector<std::string> words, Terminal& terminal);

  Printer& printer() { return printer_; }
  void print(std::string_view layout) { printer_.print(layout); }
  void prompt(std::string_view layout) { printer_.prompt(layout); }

  // Number of command-line words, the program included.
  std::size_t word_count() const { return words_.size(); }

  // Copies word n into `field`, cut to field.size() and blank-padded. An
  // index at or beyond word_count() leaves the field unchanged.
  void get_word(std::size_t n, std::string& field) const;

  // Reads one answer line into a field of `width` characters (cut or
  // blank-padded). End of input: error stop for the read.
  std::string read_field(std::size_t width);

  // Field conversions; a field that is not a number: error stop for the
  // read (name kFieldName).
  float field_to_fixed(std::string_view field, int decimals);
  long long field_to_integer(std::string_view field);

  // Reads one answer line holding a free-form number. An empty answer keeps
  // `current`. Wrong form or end of input: error stop for the read.
  float read_free_real(float current);
  long long read_free_integer(long long current);

  // The name to open a file under, from a name field: leading and trailing
  // blanks dropped; an all-blank name goes through the blank-name rule
  // (the next command-line word not yet taken by that rule, else the
  // "File name missing or blank" prompt for `unit`, repeated until the
  // answer is not blank). End of input at that prompt: error stop for the read.
  std::string file_name(std::string_view field, int unit);

  // Ends the pending line, prints "Stop - Program terminated." and ends the
  // run with status 0.
  [[noreturn]] void stop();

  // Prints the line "ERROR - " + message, then the stop message, and ends
  // the run with status 2.
  [[noreturn]] void refuse(std::string_view message);

  // Sends the error stop to standard error and ends the run with status 1.
  // The pending stdout line is left as it is (the error stop starts with its
  // own CR LF).
  [[noreturn]] void error_stop(Statement statement, std::string_view name,
                               Failure failure);

 private:
  std::vector<std::string> words_;
  Printer printer_;
  std::size_t blank_name_word_ = 1;  // next word the blank-name rule takes
};

// Runs `body` and returns the exit status: 0 after a normal end, else the
// status of the RunEnd thrown. A pending line is ended at a normal end (the
// stop and the refusal end it themselves; an error stop does not).
int run_dialogue(Dialogue& dialogue,
                 const std::function<void(Dialogue&)>& body);

}  // namespace console

#endif  // CONSOLE_DIALOGUE_H_
