// One auralisation for the Listen panel, kept in memory as it is computed:
// a worker thread appends the frames listen::auralise() gives (the sink),
// and the window's thread reads every frame computed so far while the rest
// is still coming. The frames are published with release and read with
// acquire, so a reader sees whole, written frames only; there is one writer.
//
// The loudness (BS.1770, listen/level/loudness.h) of the frames computed so far is
// published every second of frames and once more, final, at the end, so
// that playback can start before the last frame is in.
#ifndef IRVIEW_PLAYER_AURALISATION_BUFFER_H_
#define IRVIEW_PLAYER_AURALISATION_BUFFER_H_

#include <atomic>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "listen/convolution/auralise.h"
#include "listen/convolution/frames.h"
#include "listen/level/loudness.h"

namespace irview {

class AuralisationBuffer : public listen::FrameSink {
 public:
  // Room for `frames` frames of `channels` (1 or 2) at `rateHz`.
  AuralisationBuffer(std::size_t channels, double rateHz, std::size_t frames);

  // The writer's side (one thread): appends whole frames; false (and
  // error()) once more than the room would be taken.
  bool take(std::span<const float> frames) override;
  const std::string& error() const override { return error_; }
  // After the last take(): what listen::auralise() measured; the loudness
  // becomes final.
  void complete(const listen::Measured& measured);

  // The readers' side (any thread).
  std::size_t channels() const { return channels_; }
  double sampleRateHz() const { return rate_; }
  std::size_t frames() const { return frames_; }  // when complete
  std::size_t computed() const { return computed_.load(std::memory_order_acquire); }
  bool isComplete() const { return complete_.load(std::memory_order_acquire); }
  // Sample `channel` of frame `frame`; REQUIRES frame < computed().
  float sample(std::size_t frame, std::size_t channel) const {
    return samples_[frame * channels_ + channel];
  }
  // The frames computed so far, interleaved.
  std::span<const float> computedSamples() const {
    return {samples_.data(), computed() * channels_};
  }
  // The integrated loudness of the frames computed so far, in LUFS: NaN
  // before the first second is in, minus infinity below the gates.
  double loudnessLufs() const { return loudness_.load(std::memory_order_acquire); }
  // REQUIRES isComplete(): what the first pass measured (peak, frames,
  // loudness), as irconv's gain rules take it.
  const listen::Measured& measured() const { return measured_; }

 private:
  std::size_t channels_;
  double rate_;
  std::size_t frames_;
  std::vector<float> samples_;
  std::atomic<std::size_t> computed_{0};
  std::atomic<double> loudness_;
  std::atomic<bool> complete_{false};
  listen::LoudnessMeter meter_;
  std::size_t nextMeasure_;  // the writer's: frames at which to publish
  listen::Measured measured_;
  std::string error_;
};

// The computed frames read back from the start, as the writer of an export
// takes them (listen/files/sound_writer.h). REQUIRES the buffer complete.
class AuralisationFrames : public listen::FrameSource {
 public:
  explicit AuralisationFrames(std::shared_ptr<const AuralisationBuffer> buffer);
  std::size_t channels() const override { return buffer_->channels(); }
  double sample_rate_hz() const override { return buffer_->sampleRateHz(); }
  std::optional<std::size_t> frames() const override { return buffer_->computed(); }
  std::size_t read(std::span<float> out) override;
  const std::string& error() const override { return error_; }
  const std::string& name() const override { return name_; }

 private:
  std::shared_ptr<const AuralisationBuffer> buffer_;
  std::size_t position_ = 0;  // in samples
  std::string error_;
  std::string name_ = "auralisation";
};

}  // namespace irview

#endif  // IRVIEW_PLAYER_AURALISATION_BUFFER_H_
