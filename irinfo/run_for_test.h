// For irinfo's tests: a run on a fake terminal, and what it gave.
#ifndef IRINFO_RUN_FOR_TEST_H_
#define IRINFO_RUN_FOR_TEST_H_

#include <string>
#include <vector>

#include "console/fake_terminal.h"
#include "irinfo/irinfo.h"

namespace irinfo::test {

struct Outcome {
  int status;
  std::string out, err;
};

// irinfo with the words after its name.
inline Outcome run_irinfo(const std::vector<std::string>& args) {
  console::FakeTerminal terminal;
  std::vector<std::string> words = {"irinfo"};
  words.insert(words.end(), args.begin(), args.end());
  const int status = run(words, terminal);
  return {status, terminal.out(), terminal.err()};
}

inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace irinfo::test

#endif  // IRINFO_RUN_FOR_TEST_H_
