#include "irview/player/auralisation_buffer.h"

#include <algorithm>
#include <cmath>

namespace irview {

AuralisationBuffer::AuralisationBuffer(std::size_t channels, double rateHz, std::size_t frames)
    : channels_(channels),
      rate_(rateHz),
      frames_(frames),
      samples_(frames * channels),
      loudness_(std::nan("")),
      meter_(channels, rateHz),
      nextMeasure_(static_cast<std::size_t>(rateHz)) {}

bool AuralisationBuffer::take(std::span<const float> frames) {
  if (!error_.empty()) return false;
  const std::size_t done = computed_.load(std::memory_order_relaxed);
  const std::size_t count = frames.size() / channels_;
  if (done + count > frames_) {
    error_ = "auralisation: more frames than its length";
    return false;
  }
  std::copy(frames.begin(), frames.begin() + static_cast<std::ptrdiff_t>(count * channels_),
            samples_.begin() + static_cast<std::ptrdiff_t>(done * channels_));
  meter_.add(frames.first(count * channels_));
  computed_.store(done + count, std::memory_order_release);
  if (done + count >= nextMeasure_) {
    loudness_.store(meter_.integrated_lufs(), std::memory_order_release);
    nextMeasure_ += static_cast<std::size_t>(rate_);
  }
  return true;
}

void AuralisationBuffer::complete(const listen::Measured& measured) {
  measured_ = measured;
  measured_.loudness_lufs = meter_.integrated_lufs();
  loudness_.store(measured_.loudness_lufs, std::memory_order_release);
  complete_.store(true, std::memory_order_release);
}

AuralisationFrames::AuralisationFrames(std::shared_ptr<const AuralisationBuffer> buffer)
    : buffer_(std::move(buffer)) {}

std::size_t AuralisationFrames::read(std::span<float> out) {
  const std::span<const float> all = buffer_->computedSamples();
  const std::size_t channels = buffer_->channels();
  const std::size_t count = std::min(out.size() / channels, (all.size() - position_) / channels);
  std::copy_n(all.begin() + static_cast<std::ptrdiff_t>(position_), count * channels, out.begin());
  position_ += count * channels;
  return count;
}

}  // namespace irview
