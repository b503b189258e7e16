#include "listen/level/gain.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace listen {
namespace {

std::string decibels(double db) {
  char text[32];
  std::snprintf(text, sizeof text, "%.2f", db);
  return text;
}

}  // namespace

double GainChoice::gain() const { return std::pow(10.0, gain_db / 20.0); }

double default_level(Normalize mode) {
  switch (mode) {
    case Normalize::kPeak:
      return -1.0;
    case Normalize::kLoudness:
      return -23.0;
    case Normalize::kNone:
      return 0.0;
  }
  return 0.0;
}

GainChoice choose_gain(const Measured& measured, Normalize mode, std::optional<double> level,
                       SampleFormat samples) {
  GainChoice c;
  const double target = level.value_or(default_level(mode));
  if (measured.peak <= 0.0 && mode != Normalize::kNone) {
    c.refusal = "the auralisation is silent: no gain brings it to a level";
    return c;
  }
  switch (mode) {
    case Normalize::kPeak:
      c.gain_db = target - 20.0 * std::log10(measured.peak);
      break;
    case Normalize::kLoudness:
      if (!std::isfinite(measured.loudness_lufs)) {
        c.refusal = "the auralisation is too quiet or too short to measure its loudness";
        return c;
      }
      c.gain_db = target - measured.loudness_lufs;
      break;
    case Normalize::kNone:
      c.gain_db = 0.0;
      break;
  }
  const double peak = measured.peak * c.gain();
  if (!(peak <= std::numeric_limits<float>::max())) {
    c.refusal =
        "the gain of " + decibels(c.gain_db) + " dB takes the output beyond any float sample";
    return c;
  }
  if (peak > largest_sample(samples)) {
    c.refusal = "the output would clip: its peak would be " + decibels(20.0 * std::log10(peak)) +
                " dBFS; lower the level" +
                (samples != SampleFormat::kFloat ? " or write float samples (--bits float)" : "");
  }
  return c;
}

}  // namespace listen
