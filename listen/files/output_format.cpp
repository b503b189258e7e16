#include "listen/files/output_format.h"

#include <cctype>
#include <limits>

namespace listen {
namespace {

bool ends_with_folded(std::string_view name, std::string_view ending) {
  if (name.size() < ending.size()) return false;
  const std::string_view tail = name.substr(name.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(tail[i])) != ending[i]) return false;
  }
  return true;
}

}  // namespace

FormatChoice choose_format(std::string_view name, SampleFormat samples) {
  FormatChoice c;
  c.format.samples = samples;
  if (ends_with_folded(name, ".wav")) {
    c.format.container = Container::kWave;
  } else if (ends_with_folded(name, ".flac")) {
    c.format.container = Container::kFlac;
    if (samples == SampleFormat::kFloat)
      c.problem = "FLAC holds no float samples (--bits 16 or 24)";
  } else {
    c.problem = "the output's name ends neither in .wav nor in .flac";
  }
  return c;
}

std::string format_text(const OutputFormat& format) {
  const char* container = format.container == Container::kWave ? "WAVE" : "FLAC";
  switch (format.samples) {
    case SampleFormat::kPcm16:
      return std::string("16-bit ") + container;
    case SampleFormat::kPcm24:
      return std::string("24-bit ") + container;
    case SampleFormat::kFloat:
      return std::string("32-bit float ") + container;
  }
  return container;
}

double largest_sample(SampleFormat samples) {
  switch (samples) {
    case SampleFormat::kPcm16:
      return (32767.0 - 1.0) / 32768.0;
    case SampleFormat::kPcm24:
      return 8388607.0 / 8388608.0;
    case SampleFormat::kFloat:
      return std::numeric_limits<double>::infinity();
  }
  return 1.0;
}

}  // namespace listen
