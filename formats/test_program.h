// For the end-to-end tests: the converter program under test and how to
// start it. By default the Linux program of this build; two environment
// variables let the same tests run another build of it through a launcher,
// which is how the Windows .exe files are tested under Wine:
//   <NAME>_UNDER_TEST  the program file (IRGEN_UNDER_TEST, IREXPO_UNDER_TEST)
//   CONVERTER_LAUNCHER the command that starts it, words separated by blanks
//                      (e.g. "wine"); empty or unset: the program runs itself
#ifndef FORMATS_TEST_PROGRAM_H_
#define FORMATS_TEST_PROGRAM_H_

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace formats::test {

// The word quoted for the POSIX shell.
inline std::string shell_quoted(const std::string& word) {
  std::string q = "'";
  for (char c : word) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline std::vector<std::string> launcher_words() {
  std::vector<std::string> words;
  const char* text = std::getenv("CONVERTER_LAUNCHER");
  std::istringstream in(text != nullptr ? text : "");
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// True when the program runs through a launcher (under Wine).
inline bool launched() { return !launcher_words().empty(); }

// True for a line that Wine writes itself on the standard error of the
// program it starts, whatever WINEDEBUG says: its own notices ("wine: ...",
// "wineserver: ...", "wine client error:...") and debug-channel lines such
// as "0024:err:module:...".
inline bool is_launcher_line(const std::string& line) {
  if (line.starts_with("wine: ") || line.starts_with("wineserver: ") ||
      line.starts_with("wine client error")) {
    return true;
  }
  std::size_t i = 0;
  while (i < line.size() && std::isxdigit(static_cast<unsigned char>(line[i]))) ++i;
  if (i < 4 || i >= line.size() || line[i] != ':') return false;
  for (const char* channel : {"err:", "fixme:", "warn:", "trace:"}) {
    if (line.compare(i + 1, std::string(channel).size(), channel) == 0) return true;
  }
  return false;
}

// Under a launcher: takes Wine's own lines out of `err`, so that the tests
// compare what the program wrote, and returns them (empty when there were
// none, and always without a launcher).
inline std::string take_launcher_lines(std::string& err) {
  if (!launched()) return {};
  std::string kept;
  std::string taken;
  for (std::size_t at = 0; at < err.size();) {
    std::size_t end = err.find('\n', at);
    end = end == std::string::npos ? err.size() : end + 1;
    const std::string line = err.substr(at, end - at);
    (is_launcher_line(line) ? taken : kept) += line;
    at = end;
  }
  err = kept;
  return taken;
}

// Runs the program once through `run_once`, which returns a value with
// `status`, `out` and `err`. Under a launcher, Wine's own lines are taken out
// of `err` and logged, and a failure without a byte on either stream, which
// is Wine ending before the program started (the program always prints
// something first), is run again after a second, three runs at most.
template <typename RunOnce>
auto run_through_launcher(RunOnce run_once) {
  for (int attempt = 1;; ++attempt) {
    auto r = run_once();
    const std::string notices = take_launcher_lines(r.err);
    if (!notices.empty()) std::cerr << "Wine wrote (run " << attempt << "):\n" << notices;
    const bool not_started = launched() && r.status != 0 && r.out.empty() && r.err.empty();
    if (!not_started || attempt == 3) return r;
    std::cerr << "Wine ended without starting the program (status " << r.status << ", run "
              << attempt << "); once more in a second\n";
    sleep(1);
  }
}

// The program file: the variable `env_name` when set, else `built`.
inline std::string program_file(const char* env_name, const char* built) {
  const char* chosen = std::getenv(env_name);
  return chosen != nullptr && *chosen != '\0' ? chosen : built;
}

// The start of a shell command line that runs the program.
inline std::string shell_program(const std::string& program) {
  std::string line;
  for (const std::string& w : launcher_words()) line += shell_quoted(w) + " ";
  return line + shell_quoted(program);
}

// Replaces the calling (child) process by the program with `args`; returns
// only when that fails.
inline void exec_program(const std::string& program, const std::string& word0,
                         const std::vector<std::string>& args) {
  std::vector<std::string> words = launcher_words();
  const bool direct = words.empty();
  words.push_back(program);
  words.insert(words.end(), args.begin(), args.end());
  std::string first = direct ? word0 : words[0];
  std::vector<char*> argv{first.data()};
  for (std::size_t i = 1; i < words.size(); ++i) argv.push_back(words[i].data());
  argv.push_back(nullptr);
  execvp(words[0].c_str(), argv.data());
}

}  // namespace formats::test

#endif  // FORMATS_TEST_PROGRAM_H_
