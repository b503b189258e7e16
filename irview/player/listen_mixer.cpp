#include "irview/player/listen_mixer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace irview {

std::vector<double> listenGainsDb(const std::vector<double>& loudnessLufs, bool matchLoudness) {
  double loudest = -std::numeric_limits<double>::infinity();
  for (const double l : loudnessLufs)
    if (std::isfinite(l)) loudest = std::max(loudest, l);
  std::vector<double> gains;
  for (const double l : loudnessLufs) {
    if (!std::isfinite(l))
      gains.push_back(matchLoudness || !std::isfinite(loudest) ? 0.0
                                                               : kListenLoudnessLufs - loudest);
    else
      gains.push_back(kListenLoudnessLufs - (matchLoudness ? l : loudest));
  }
  return gains;
}

double playedLoudnessLufs(const AuralisationBuffer& buffer) {
  return buffer.loudnessLufs() + (buffer.channels() == 1 ? 10.0 * std::log10(2.0) : 0.0);
}

ListenMixer::ListenMixer(std::size_t fadeFrames) : fadeFrames_(std::max<std::size_t>(1, fadeFrames)) {}

void ListenMixer::setSources(std::vector<std::shared_ptr<const AuralisationBuffer>> sources) {
  sources_ = std::move(sources);
  voices_.assign(sources_.size(), Voice{});
  chosen_ = 0;
  fadeLeft_ = 0;
  if (!voices_.empty()) voices_[0].weight = 1.0;
}

void ListenMixer::setSource(std::size_t index, std::shared_ptr<const AuralisationBuffer> source) {
  sources_[index] = std::move(source);
}

void ListenMixer::choose(std::size_t index, bool fade) {
  if (index >= voices_.size()) return;
  chosen_ = index;
  if (!fade) {
    for (std::size_t i = 0; i < voices_.size(); ++i) voices_[i].weight = i == index ? 1.0 : 0.0;
    fadeLeft_ = 0;
    return;
  }
  for (Voice& voice : voices_) voice.weightFrom = voice.weight;
  fadeLeft_ = fadeFrames_;
  fadeStart_ = position_;
}

void ListenMixer::setGain(std::size_t index, double factor, bool ramp) {
  Voice& voice = voices_[index];
  voice.gainTarget = factor;
  if (!ramp) {
    voice.gain = factor;
    voice.gainStep = 0.0;
  } else {
    voice.gainStep = (factor - voice.gain) / static_cast<double>(fadeFrames_);
  }
}

std::size_t ListenMixer::length() const {
  if (chosen_ >= sources_.size() || !sources_[chosen_]) return 0;
  return sources_[chosen_]->frames();
}

std::size_t ListenMixer::mix(std::span<float> out) {
  const std::size_t end = length();
  const std::size_t count = std::min(out.size() / 2, end > position_ ? end - position_ : 0);
  // The frames computed of each source, read once: later ones may be in by
  // now, but these are the ones known to be written.
  std::vector<std::size_t> computed(sources_.size(), 0);
  for (std::size_t i = 0; i < sources_.size(); ++i)
    if (sources_[i]) computed[i] = sources_[i]->computed();
  for (std::size_t n = 0; n < count; ++n) {
    if (fadeLeft_ > 0) {
      --fadeLeft_;
      const double f = 1.0 - static_cast<double>(fadeLeft_) / static_cast<double>(fadeFrames_);
      for (std::size_t i = 0; i < voices_.size(); ++i)
        voices_[i].weight = voices_[i].weightFrom * (1.0 - f) + (i == chosen_ ? f : 0.0);
    }
    const std::size_t frame = position_ + n;
    double left = 0.0;
    double right = 0.0;
    for (std::size_t i = 0; i < voices_.size(); ++i) {
      Voice& voice = voices_[i];
      if (voice.gainStep != 0.0) {
        voice.gain += voice.gainStep;
        if ((voice.gainStep > 0.0) == (voice.gain >= voice.gainTarget)) {
          voice.gain = voice.gainTarget;
          voice.gainStep = 0.0;
        }
      }
      if (voice.weight == 0.0 || !sources_[i] || frame >= computed[i]) continue;
      const AuralisationBuffer& source = *sources_[i];
      const double scale = voice.weight * voice.gain;
      const float l = source.sample(frame, 0);
      const float r = source.channels() > 1 ? source.sample(frame, 1) : l;
      left += scale * l;
      right += scale * r;
    }
    out[2 * n] = static_cast<float>(left);
    out[2 * n + 1] = static_cast<float>(right);
  }
  position_ += count;
  return count;
}

}  // namespace irview
