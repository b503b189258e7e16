// Interleaved float frames flowing between the stages of an auralisation:
// a source they are read from (a dry signal, a computed output kept for
// writing) and a sink they go to, with an in-memory one of each for the
// viewer and the tests. Full scale is 1.0.
#ifndef LISTEN_CONVOLUTION_FRAMES_H_
#define LISTEN_CONVOLUTION_FRAMES_H_

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace listen {

class FrameSource {
 public:
  virtual ~FrameSource() = default;
  virtual std::size_t channels() const = 0;
  virtual double sample_rate_hz() const = 0;
  // The number of frames, when known before reading.
  virtual std::optional<std::size_t> frames() const = 0;
  // Reads up to out.size() / channels() frames into `out`; returns how many,
  // 0 at the end or after a failure, which error() then tells.
  virtual std::size_t read(std::span<float> out) = 0;
  // Empty, or "<name>: <what went wrong>" once a read failed.
  virtual const std::string& error() const = 0;
  // How a message names the source ("dry.wav").
  virtual const std::string& name() const = 0;
};

class FrameSink {
 public:
  virtual ~FrameSink() = default;
  // Appends whole frames. False on a failure, which error() then tells; the
  // sink takes nothing more after one.
  virtual bool take(std::span<const float> frames) = 0;
  virtual const std::string& error() const = 0;
};

// Frames held in memory: a sink that keeps what it takes, and a source that
// reads it back from the start (or from frames given to it).
class MemoryFrames : public FrameSource, public FrameSink {
 public:
  MemoryFrames(std::size_t channels, double sample_rate_hz, std::vector<float> samples = {},
               std::string name = "memory");

  std::size_t channels() const override { return channels_; }
  double sample_rate_hz() const override { return rate_; }
  std::optional<std::size_t> frames() const override { return samples_.size() / channels_; }
  std::size_t read(std::span<float> out) override;
  const std::string& error() const override { return error_; }
  const std::string& name() const override { return name_; }
  bool take(std::span<const float> frames) override;

  const std::vector<float>& samples() const { return samples_; }
  void rewind() { position_ = 0; }

 private:
  std::size_t channels_;
  double rate_;
  std::vector<float> samples_;
  std::string name_;
  std::string error_;
  std::size_t position_ = 0;  // in samples
};

}  // namespace listen

#endif  // LISTEN_CONVOLUTION_FRAMES_H_
