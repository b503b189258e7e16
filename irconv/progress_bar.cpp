#include "irconv/progress_bar.h"

#include <algorithm>
#include <cmath>

namespace irconv {
namespace {

constexpr int kWidth = 40;
constexpr double kQuietSeconds = 1.0;

}  // namespace

ProgressBar::ProgressBar(console::Terminal& terminal, bool is_terminal,
                         std::function<double()> seconds)
    : terminal_(terminal), enabled_(is_terminal && seconds), seconds_(std::move(seconds)) {
  if (enabled_) start_ = seconds_();
}

ProgressBar::~ProgressBar() { end(); }

std::string ProgressBar::line(double fraction) {
  fraction = std::clamp(fraction, 0.0, 1.0);
  const int filled = static_cast<int>(std::floor(fraction * kWidth));
  const int percent = static_cast<int>(std::floor(fraction * 100.0));
  std::string text = "irconv: [" + std::string(filled, '#') + std::string(kWidth - filled, '.') +
                     "] " + std::to_string(percent) + " %";
  return text;
}

void ProgressBar::show(double fraction) {
  if (!enabled_) return;
  const int percent = static_cast<int>(std::floor(std::clamp(fraction, 0.0, 1.0) * 100.0));
  if (percent == shown_) return;
  if (shown_ < 0 && seconds_() - start_ < kQuietSeconds) return;
  terminal_.write_err("\r" + line(fraction));
  shown_ = percent;
}

void ProgressBar::end() {
  if (shown_ < 0) return;
  terminal_.write_err("\r" + std::string(line(0).size(), ' ') + "\r");
  shown_ = -1;
  enabled_ = false;
}

}  // namespace irconv
