// irconv's progress bar on standard error: shown only when standard error
// is a terminal and the work has run for a second, so a short run and a run
// into a file or a pipe print nothing; redrawn in place with CR when the
// shown percentage changes, and wiped when the work ends.
#ifndef IRCONV_PROGRESS_BAR_H_
#define IRCONV_PROGRESS_BAR_H_

#include <functional>
#include <string>

#include "console/terminal.h"

namespace irconv {

class ProgressBar {
 public:
  // `seconds` is a steady clock; the second counts from construction.
  ProgressBar(console::Terminal& terminal, bool is_terminal, std::function<double()> seconds);
  ~ProgressBar();  // end()

  void show(double fraction);  // 0 .. 1
  // Wipes the bar when it was shown, so that messages start on a clean line.
  void end();

  // The bar's line for a fraction, without the CR: "[#####....] 42 %".
  static std::string line(double fraction);

 private:
  console::Terminal& terminal_;
  bool enabled_;
  std::function<double()> seconds_;
  double start_ = 0.0;
  int shown_ = -1;  // the percentage on the screen, -1 for none
};

}  // namespace irconv

#endif  // IRCONV_PROGRESS_BAR_H_
